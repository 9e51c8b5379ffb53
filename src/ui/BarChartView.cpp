#include "ui/BarChartView.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

#include <algorithm>

namespace {

const QColor kBarColour(0x3a, 0x6e, 0xa5);
const QColor kGridColour(0xc8, 0xc8, 0xc8);

} // namespace

void PaintBarChart(QPainter& p, const QRect& area, const BarChart& c)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const QFontMetrics fm = p.fontMetrics();
    const int line = fm.height();

    // Room for the tick labels on the left and the bar labels below.
    int tickWidth = 0;
    for (const BarChart::Tick& t : c.ticks)
        tickWidth = std::max(tickWidth, fm.horizontalAdvance(t.label));
    int labelRoom = line + 4;
    if (c.uprightLabels) {
        for (const BarChart::Bar& b : c.bars)
            labelRoom = std::max(labelRoom, fm.horizontalAdvance(b.label) + 8);
    }
    const QRect plot = area.adjusted(tickWidth + 12, 2 * line + 4, -8, -labelRoom);
    if (plot.width() < 10 || plot.height() < 10) {
        p.restore();
        return;
    }

    const QFont normal = p.font();
    QFont bold = normal;
    bold.setBold(true);
    p.setFont(bold);
    p.drawText(QRect(area.left(), area.top(), area.width(), line + 4), Qt::AlignCenter, c.title);
    p.setFont(normal);

    const auto yOf
        = [&](double fraction) { return plot.bottom() - int(fraction * plot.height() + 0.5); };
    for (const BarChart::Tick& t : c.ticks) {
        const int y = yOf(t.y);
        p.setPen(kGridColour);
        p.drawLine(plot.left(), y, plot.right(), y);
        p.setPen(Qt::black);
        p.drawText(QRect(area.left(), y - line / 2, tickWidth + 6, line),
            Qt::AlignRight | Qt::AlignVCenter, t.label);
    }
    for (const BarChart::Bar& b : c.bars) {
        const int left = plot.left() + int(b.left * plot.width());
        const int width = std::max(1, int(b.width * plot.width()));
        const int top = yOf(b.height);
        p.fillRect(QRect(left, top, width, plot.bottom() - top), kBarColour);
        const int centre = plot.left() + int(b.centre * plot.width());
        p.setPen(Qt::black);
        const QString count = QString::number(b.value);
        p.drawText(QRect(centre - 40, top - line - 1, 80, line), Qt::AlignCenter, count);
        if (c.uprightLabels) {
            p.save();
            p.translate(centre + line / 2 - 2, plot.bottom() + 4);
            p.rotate(-90);
            p.drawText(QRect(-labelRoom, -line, labelRoom - 4, line),
                Qt::AlignRight | Qt::AlignVCenter, b.label);
            p.restore();
        } else {
            const int slot = int(plot.width() / std::max<qsizetype>(1, c.bars.size()));
            p.drawText(QRect(centre - slot / 2, plot.bottom() + 3, slot, line), Qt::AlignCenter,
                fm.elidedText(b.label, Qt::ElideRight, slot));
        }
    }
    p.setPen(Qt::black);
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    p.drawLine(plot.bottomLeft(), plot.topLeft());
    p.restore();
}

QImage BarChartImage(const BarChart& chart, const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    PaintBarChart(p, image.rect(), chart);
    return image;
}

BarChartView::BarChartView(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void BarChartView::setChart(const BarChart& chart)
{
    m_chart = chart;
    update();
}

QSize BarChartView::sizeHint() const
{
    return { 520, 360 };
}

QSize BarChartView::minimumSizeHint() const
{
    return { 240, 180 };
}

void BarChartView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    PaintBarChart(p, rect(), m_chart);
}
