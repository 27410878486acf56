#pragma once

#include <QString>

#include <array>

namespace qv::summary {

// The round summary's 5 by 12 cells, numbered from 1 as the window's grid.
class SummarySheet {
public:
    static constexpr int Columns = 5;
    static constexpr int Rows = 12;

    const QString& text(int column, int row) const { return cells_.at(index(column, row)); }
    void setText(int column, int row, const QString& text) { cells_.at(index(column, row)) = text; }

    // The labels of columns 1 and 4, rows 3 to 12, and the auction heading.
    void layOut(int auctionNumber);

private:
    static size_t index(int column, int row) { return size_t((row - 1) * Columns + (column - 1)); }
    std::array<QString, Columns * Rows> cells_;
};

// Labels of column 1 and column 4, rows 3 to 12 in order.
extern const char* const leftLabels[10];
extern const char* const rightLabels[10];

} // namespace qv::summary
