#pragma once

#include <QPixmap>

// The two pictures beside the times of the catch entry window: the times
// are valid (a green check) or not (a red cross). size is in pixels.
QPixmap validPicture(int size = 24);
QPixmap invalidPicture(int size = 24);
