#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace qv::grid {

// A selected block of cells, columns and rows from 1; row -1 when whole
// columns were selected by their header.
struct SelectionBlock {
    int col = 1;
    int row = 1;
    int col2 = 1;
    int row2 = 1;
    bool wholeColumn() const { return row == -1; }
};

// A statistic as the status bar shows it: comma groups, two decimals and no
// zero before the point (60 -> "60.00", 0 -> ".00", 1234567.5 -> "1,234,567.50").
QString formatStatistic(double value);

// "Sum", "Average" or "Count" of the selected cells of one column. cell reads
// a cell's text (column, row from 1); rows is the number of rows shown.
// Returns nothing when the status text stays as it is (no selection, another
// kind), "0" for more than one column or a cell that is not a number. Average
// over no cell raises error 6.
std::optional<QString> selectionStatistic(const QString& kind, const QList<SelectionBlock>& blocks,
                                          const std::function<QString(int, int)>& cell, int rows);

} // namespace qv::grid
