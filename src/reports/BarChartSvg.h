#pragma once

#include "calc/BarChart.h"

#include <QString>

// The chart as an SVG document (UTF-8 text without the XML declaration, so
// that it can stand in an HTML page as well as in a file of its own). Each
// bar is a <rect class="bar"> with its label and count in data attributes
// and in a <title>; the count stands above the bar, the label below it.
// Every text is escaped.
QString BarChartSvg(const BarChart& chart, int width = 760, int height = 360);
