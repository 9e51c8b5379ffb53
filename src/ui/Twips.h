#pragma once

// Window geometry is given in twips, 1/1440 inch; at 96 dots per inch 15
// twips make one pixel. Every window converts with these.
inline constexpr int kTwipsPerPixel = 15;

// Pixels of a length in twips, to the nearest pixel (halves away from zero).
constexpr int px(double twips)
{
    const double pixels = twips / kTwipsPerPixel;
    return static_cast<int>(pixels < 0 ? pixels - 0.5 : pixels + 0.5);
}
