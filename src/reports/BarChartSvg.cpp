#include "reports/BarChartSvg.h"

using namespace Qt::StringLiterals;

namespace {

// Room around the plot area for the title, the tick labels and the bar
// labels (more when they run upwards).
constexpr int kLeft = 56;
constexpr int kRight = 12;
constexpr int kTop = 34;
constexpr int kBottom = 28;
constexpr int kUprightBottom = 96;

QString esc(const QString& text)
{
    QString out = text.toHtmlEscaped();
    out.replace(u'\'', u"&#39;"_s);
    return out;
}

QString num(double v)
{
    return QString::number(v, 'f', 1);
}

} // namespace

QString BarChartSvg(const BarChart& c, int width, int height)
{
    const double plotLeft = kLeft;
    const double plotTop = kTop;
    const double plotWidth = width - kLeft - kRight;
    const double plotHeight = height - kTop - (c.uprightLabels ? kUprightBottom : kBottom);
    const double bottom = plotTop + plotHeight;

    QString s;
    s += u"<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
         u"viewBox=\"0 0 %1 %2\" role=\"img\" aria-label=\"%3\" "
         u"font-family=\"Arial, Helvetica, sans-serif\" font-size=\"11\">\n"_s.arg(
             QString::number(width), QString::number(height), esc(c.title));
    s += u"<title>%1</title>\n"_s.arg(esc(c.title));
    s += u"<rect x=\"0\" y=\"0\" width=\"%1\" height=\"%2\" fill=\"#ffffff\"/>\n"_s.arg(width).arg(
        height);
    s += u"<text x=\"%1\" y=\"20\" text-anchor=\"middle\" font-size=\"14\" "
         u"font-weight=\"bold\">%2</text>\n"_s.arg(num(width / 2.0), esc(c.title));
    for (const BarChart::Tick& t : c.ticks) {
        const double y = bottom - t.y * plotHeight;
        s += u"<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%2\" stroke=\"#c8c8c8\"/>\n"_s.arg(
            num(plotLeft), num(y), num(plotLeft + plotWidth));
        s += u"<text class=\"tick\" x=\"%1\" y=\"%2\" text-anchor=\"end\">%3</text>\n"_s.arg(
            num(plotLeft - 6), num(y + 4), esc(t.label));
    }
    for (const BarChart::Bar& b : c.bars) {
        const double x = plotLeft + b.left * plotWidth;
        const double h = b.height * plotHeight;
        const QString label = esc(b.label);
        const QString count = QString::number(b.value);
        s += u"<rect class=\"bar\" data-label=\"%1\" data-count=\"%2\" x=\"%3\" y=\"%4\" "
             u"width=\"%5\" height=\"%6\" fill=\"#3a6ea5\"><title>%1: %2</title></rect>\n"_s.arg(
                 label, count, num(x), num(bottom - h), num(b.width * plotWidth), num(h));
        const double centre = plotLeft + b.centre * plotWidth;
        s += u"<text class=\"count\" x=\"%1\" y=\"%2\" text-anchor=\"middle\">%3</text>\n"_s.arg(
            num(centre), num(bottom - h - 3), count);
        if (c.uprightLabels)
            s += u"<text class=\"label\" x=\"%1\" y=\"%2\" text-anchor=\"end\" "
                 u"transform=\"rotate(-90 %1 %2)\">%3</text>\n"_s.arg(
                     num(centre + 4), num(bottom + 6), label);
        else
            s += u"<text class=\"label\" x=\"%1\" y=\"%2\" text-anchor=\"middle\">%3</text>\n"_s
                     .arg(num(centre), num(bottom + 16), label);
    }
    s += u"<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%2\" stroke=\"#000000\"/>\n"_s.arg(
        num(plotLeft), num(bottom), num(plotLeft + plotWidth));
    s += u"<line x1=\"%1\" y1=\"%2\" x2=\"%1\" y2=\"%3\" stroke=\"#000000\"/>\n"_s.arg(
        num(plotLeft), num(plotTop), num(bottom));
    s += u"</svg>"_s;
    return s;
}
