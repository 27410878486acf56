#pragma once

#include <QPageSize>
#include <QRectF>
#include <QString>

#include <optional>
#include <set>
#include <vector>

namespace qv::print {

inline constexpr double TwipsPerInch = 1440.0;

// How a grid prints: orientation 1 portrait, 2 landscape, 0 the printer's own
// (portrait); margins in twips from the paper's edges.
struct PageSetup {
    int orientation = 0;
    double marginLeft = 720;
    double marginRight = 720;
    double marginTop = 720;
    double marginBottom = 720;
    QPageSize paper{QPageSize::Letter};

    bool landscape() const { return orientation == 2; }
    // The paper as it lies, in twips.
    QSizeF paperTwips() const;
    // What is left inside the margins; never narrower or shorter than an inch.
    QRectF printableTwips() const;
};

// The margins in their usual order, for the messages that name one.
enum class Margin { Left, Right, Top, Bottom };

// The margin that leaves less than an inch of the paper to print on, across
// or down: of the two that face each other, the larger (the left or top one
// when they are equal). Nothing when the page keeps its inch both ways.
std::optional<Margin> tooLargeMargin(const PageSetup& setup);
// "The left margin is too large: ..." for the margin tooLargeMargin names.
QString tooLargeMarginText(Margin margin);

// The sheet's measures in twips: its data columns, its rows, the header row
// on top of every page and the row-header column left of it.
struct SheetMetrics {
    std::vector<double> columnWidths; // columns 1..n
    int rowCount = 0;
    double rowHeight = 300;         // every row, unless rowHeights says otherwise
    std::vector<double> rowHeights; // rows 1..n when they differ
    double headerHeight = 300;
    double rowHeaderWidth = 600;

    double heightOf(int row) const { return rowHeights.empty() ? rowHeight : rowHeights[size_t(row - 1)]; }
};

// Narrows every column wider than a page holds beside the row headers to
// that width: its text is cut only where no page could show it whole.
void fitColumnsToPage(SheetMetrics& sheet, const PageSetup& setup);

// One printed page: the rows and columns on it, from 1 (lastRow 0 on the
// single page of an empty sheet).
struct PageCells {
    int firstRow, lastRow, firstCol, lastCol;
};

// Where printed pages start. A page starts at a forced break or where the
// next row (column) would not fit; pages run down the rows, then over to the
// next band of columns. A column wider than the page gets a page of its own.
class PageLayout {
public:
    PageLayout() = default;
    PageLayout(const PageSetup& setup, const SheetMetrics& sheet, const std::set<int>& rowBreaks,
               const std::set<int>& colBreaks);

    // First row (column) of each band; the first is always 1.
    const std::vector<int>& rowStarts() const { return rowStarts_; }
    const std::vector<int>& colStarts() const { return colStarts_; }
    int pageCount() const { return int(rowStarts_.size() * colStarts_.size()); }
    PageCells page(int index) const; // from 0

private:
    std::vector<int> rowStarts_{1};
    std::vector<int> colStarts_{1};
    int rowCount_ = 0;
    int colCount_ = 0;
};

// Reads out page boundaries one at a time, as the grid reports them: the row
// (column) where each page after the first starts, then -1, then from the
// beginning again.
class BoundaryCursor {
public:
    void reset(std::vector<int> starts);
    int next();

private:
    std::vector<int> starts_;
    size_t at_ = 1;
};

} // namespace qv::print
