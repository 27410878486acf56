#pragma once

#include "analysis/core/pivot_chart_data.h"

#include <QList>
#include <QSize>
#include <QString>

#include <memory>

class QChart;
class QCoreApplication;
class QLineSeries;

namespace qv::analysis {

// A chart of a pivot table over the rounds: the lines of the column groups
// shown at first. The others are added when chosen: a chart holding tens of
// thousands of lines, even hidden, takes minutes to lay out its legend.
QChart* makePivotChart(const PivotChartData& data);
// Fits the amounts' axis to the lines on show, so none runs off the chart.
void fitPivotChartAmounts(QChart* chart);
// Adds a group's line (its values filled) to a chart made by makePivotChart.
QLineSeries* addPivotChartLine(QChart* chart, const PivotChartData& data, const ChartSeries& line);
// The lines of a chart, one per group, in the order made, without their later pieces.
QList<QLineSeries*> pivotChartLines(QChart* chart);
// A line and the pieces it breaks into over rounds without bids, the line first.
QList<QLineSeries*> pivotChartLinePieces(QChart* chart, QLineSeries* line);

// Writes the chart at the given size through SafeFile, as SVG when the file
// name ends in .svg, else as PNG. Raises qv::Error when the file cannot be
// written (61 on a full disk), leaving an earlier file as it was.
void saveChartImage(QChart* chart, const QString& file, QSize size);
void savePivotChart(const PivotChartData& data, const QString& file, QSize size);

// A widgets application for drawing charts without a screen: the offscreen
// platform unless one is set.
std::unique_ptr<QCoreApplication> makeChartApplication(int& argc, char** argv);

} // namespace qv::analysis
