#pragma once

#include "analysis/core/pivot_chart_data.h"

#include <QSize>
#include <QString>

#include <memory>

class QChart;
class QCoreApplication;

namespace qv::analysis {

// A chart of a pivot table: one line per column group over the rounds; the
// lines not shown at first are there but hidden.
QChart* makePivotChart(const PivotChartData& data);

// Writes the chart at the given size, as SVG when the file name ends in
// .svg, else as PNG. False when the file cannot be written.
bool saveChartImage(QChart* chart, const QString& file, QSize size);
bool savePivotChart(const PivotChartData& data, const QString& file, QSize size);

// A widgets application for drawing charts without a screen: the offscreen
// platform unless one is set.
std::unique_ptr<QCoreApplication> makeChartApplication(int& argc, char** argv);

} // namespace qv::analysis
