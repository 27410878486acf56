#pragma once

#include "standings/core/standings_charts.h"

#include <QByteArray>
#include <QPen>
#include <QSize>

#include <vector>

class QChart;

namespace qv::standings {

// The pen of a chart's n-th line: the program's palette, two pixels wide.
QPen linePen(int index);

// A chart of the standings over the rounds, its lines in the palette's order.
// Amounts are shown in thousands, millions or billions of dollars, whichever
// keeps the axis labels short.
QChart* makeStandingsChart(const StandingsChart& data);

// Draws charts one above the other, each at the given size, as an SVG
// document or a PNG picture; empty when the drawing fails.
QByteArray drawCharts(const std::vector<const StandingsChart*>& charts, QSize each, bool svg);

} // namespace qv::standings
