#pragma once

#include "analysis/core/pivot_table.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace qv::analysis {

// One line of a pivot chart: a column group of the pivot table and its summed
// amount in each round (empty where the pivot's cell is empty).
struct ChartSeries {
    QString name;
    int column = 0; // the pivot's column
    // One per round, as the pivot's rows; only the groups shown at first have
    // them at once (a rounds analysis has tens of thousands of groups), the
    // others get them from pivotChartValues when chosen.
    std::vector<std::optional<double>> values;
    bool shown = false; // drawn when the chart opens
};

// What a chart of a pivot table draws: rounds along the bottom, one line per
// column group.
struct PivotChartData {
    QString title;          // the pivot's data caption
    QStringList rounds;     // the row labels
    std::vector<double> xs; // the rounds as positions (the round number where it is one)
    std::vector<ChartSeries> series;
};

// The chart of a pivot table. The `shownCount` groups with the highest amount
// in the last round are shown at first (an empty amount ranks below any
// number, ties go to the leftmost column); the rest can be chosen later.
PivotChartData pivotChartData(const PivotResult& pivot, int shownCount = 10);
// One column group's amounts, one per round.
std::vector<std::optional<double>> pivotChartValues(const PivotResult& pivot, int column);

} // namespace qv::analysis
