#pragma once

#include "calc/BarChart.h"

#include <QImage>
#include <QWidget>

class QPainter;

// Draws a bar chart into a rectangle: title, axis with its ticks, the bars
// with their counts above and their labels below.
void PaintBarChart(QPainter& p, const QRect& area, const BarChart& chart);

// The chart drawn on a white picture of that size.
QImage BarChartImage(const BarChart& chart, const QSize& size);

// The chart in a window. Its accessible name and description are set by
// the window, which also shows the figures as a table.
class BarChartView : public QWidget {
public:
    explicit BarChartView(QWidget* parent = nullptr);

    void setChart(const BarChart& chart);
    const BarChart& chart() const { return m_chart; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    BarChart m_chart;
};
