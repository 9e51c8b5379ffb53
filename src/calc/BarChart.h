#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A bar chart of counts, laid out apart from any way of drawing it: the
// bars and the axis ticks are placed in a plot area of width and height 1,
// x from the left, y from the bottom. The window and the printed page
// draw the same chart.
struct BarChart {
    struct Bar {
        QString label;
        qint64 value = 0;
        double left = 0; // of the bar
        double width = 0;
        double height = 0; // value / axisMax
        double centre = 0; // of the bar's slot, where its label goes
    };
    struct Tick {
        qint64 value = 0;
        QString label;
        double y = 0;
    };
    QString title;
    QList<Bar> bars;
    QList<Tick> ticks; // from 0 up to axisMax, tickStep apart
    qint64 axisMax = 1;
    qint64 tickStep = 1;
    // With many bars the labels run upwards, so that they do not overlap.
    bool uprightLabels = false;
};

// The most intervals between ticks; the step is the smallest of 1, 2 and 5
// times a power of ten that needs no more.
inline constexpr int kMaxTickIntervals = 8;
// Bars take this part of their slot; the rest is the gap between them.
inline constexpr double kBarShare = 0.7;
// From this many bars on, the labels run upwards.
inline constexpr int kUprightFrom = 13;

// The axis step and top for the largest value: the step is a round
// number, the top the first multiple of it that is not below the value (at
// least one step, so that an empty chart still has an axis).
void AxisRange(qint64 maximum, qint64& step, qint64& top);

BarChart MakeBarChart(const QString& title, const QStringList& labels, const QList<qint64>& values);
