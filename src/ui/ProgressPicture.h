#pragma once

#include <QWidget>

// The updater's progress bar: a box in orange (red 255, green 128, blue 0)
// from the left edge over the percentage of the width, the percentage
// "p %" centred over it, on an otherwise cleared picture.
class ProgressPicture : public QWidget {
public:
    explicit ProgressPicture(QWidget* parent = nullptr);

    // Value, minimum and maximum as received bytes, 0 and the total.
    void setProgress(qint64 value, qint64 minimum, qint64 maximum);
    int percent() const { return m_percent; }
    // Clears the picture (nothing drawn until the next progress).
    void clear();

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    int m_percent = -1; // -1: cleared
};
