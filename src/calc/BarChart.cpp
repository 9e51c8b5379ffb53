#include "calc/BarChart.h"

#include <algorithm>

void AxisRange(qint64 maximum, qint64& step, qint64& top)
{
    step = 1;
    for (qint64 power = 1;; power *= 10) {
        bool found = false;
        for (qint64 m : { 1, 2, 5 }) {
            // Counts are whole numbers: the step never goes below 1.
            if ((maximum + m * power - 1) / (m * power) <= kMaxTickIntervals) {
                step = m * power;
                found = true;
                break;
            }
        }
        if (found)
            break;
    }
    top = std::max<qint64>(step, (maximum + step - 1) / step * step);
}

BarChart MakeBarChart(const QString& title, const QStringList& labels, const QList<qint64>& values)
{
    BarChart c;
    c.title = title;
    const qsizetype n = std::min(labels.size(), values.size());
    qint64 maximum = 0;
    for (qsizetype i = 0; i < n; ++i)
        maximum = std::max(maximum, values[i]);
    AxisRange(maximum, c.tickStep, c.axisMax);
    for (qint64 v = 0; v <= c.axisMax; v += c.tickStep)
        c.ticks.append({ v, QString::number(v), double(v) / double(c.axisMax) });
    const double slot = n > 0 ? 1.0 / double(n) : 1.0;
    for (qsizetype i = 0; i < n; ++i) {
        BarChart::Bar b;
        b.label = labels[i];
        b.value = values[i];
        b.centre = (double(i) + 0.5) * slot;
        b.width = slot * kBarShare;
        b.left = b.centre - b.width / 2;
        b.height = double(std::max<qint64>(0, b.value)) / double(c.axisMax);
        c.bars.append(b);
    }
    c.uprightLabels = n >= kUprightFrom;
    return c;
}
