#include "print/core/page_layout.h"

#include <algorithm>

namespace qv::print {

namespace {

// Band starts over items 1..count of the given sizes within room.
template <typename Size>
std::vector<int> bandStarts(int count, double room, const std::set<int>& forced, Size sizeOf)
{
    std::vector<int> starts{1};
    double used = 0;
    for (int item = 1; item <= count; ++item) {
        const double size = sizeOf(item);
        const bool firstOnPage = item == starts.back();
        if (!firstOnPage && (forced.count(item) != 0 || used + size > room)) {
            starts.push_back(item);
            used = 0;
        }
        used += size;
    }
    return starts;
}

} // namespace

QSizeF PageSetup::paperTwips() const
{
    const QSizeF points = paper.size(QPageSize::Point);
    const QSizeF twips = points * 20.0;
    return landscape() ? twips.transposed() : twips;
}

QRectF PageSetup::printableTwips() const
{
    const QSizeF size = paperTwips();
    const double left = std::max(0.0, marginLeft);
    const double top = std::max(0.0, marginTop);
    const double width = std::max(TwipsPerInch, size.width() - left - std::max(0.0, marginRight));
    const double height = std::max(TwipsPerInch, size.height() - top - std::max(0.0, marginBottom));
    return {left, top, width, height};
}

std::optional<Margin> tooLargeMargin(const PageSetup& setup)
{
    const QSizeF size = setup.paperTwips();
    const auto larger = [](double first, Margin firstName, double second, Margin secondName) {
        return second > first ? secondName : firstName;
    };
    if (size.width() - setup.marginLeft - setup.marginRight < TwipsPerInch)
        return larger(setup.marginLeft, Margin::Left, setup.marginRight, Margin::Right);
    if (size.height() - setup.marginTop - setup.marginBottom < TwipsPerInch)
        return larger(setup.marginTop, Margin::Top, setup.marginBottom, Margin::Bottom);
    return std::nullopt;
}

QString tooLargeMarginText(Margin margin)
{
    static const char* const names[] = {"left", "right", "top", "bottom"};
    return QStringLiteral("The %1 margin is too large: the margins must leave at least an inch of the "
                          "page to print on, across and down.")
        .arg(QLatin1String(names[static_cast<int>(margin)]));
}

void fitColumnsToPage(SheetMetrics& sheet, const PageSetup& setup)
{
    const double room = std::max(0.0, setup.printableTwips().width() - sheet.rowHeaderWidth);
    for (double& width : sheet.columnWidths)
        width = std::min(width, room);
}

PageLayout::PageLayout(const PageSetup& setup, const SheetMetrics& sheet, const std::set<int>& rowBreaks,
                       const std::set<int>& colBreaks)
    : rowCount_(sheet.rowCount), colCount_(int(sheet.columnWidths.size()))
{
    const QRectF room = setup.printableTwips();
    // Every page repeats the header row and the row-header column.
    const double across = room.width() - sheet.rowHeaderWidth;
    const double down = room.height() - sheet.headerHeight;
    colStarts_ = bandStarts(colCount_, across, colBreaks,
                            [&](int column) { return sheet.columnWidths[size_t(column - 1)]; });
    if (sheet.rowHeights.empty() && rowBreaks.empty()) {
        // Equal rows and no forced breaks: so many to a page.
        const int perPage = std::max(1, int(down / std::max(1.0, sheet.rowHeight)));
        rowStarts_.clear();
        for (int row = 1; row <= std::max(1, rowCount_); row += perPage)
            rowStarts_.push_back(row);
    } else {
        rowStarts_ = bandStarts(rowCount_, down, rowBreaks, [&](int row) { return sheet.heightOf(row); });
    }
}

PageCells PageLayout::page(int index) const
{
    const int bands = int(rowStarts_.size());
    const size_t rowBand = size_t(index % bands);
    const size_t colBand = size_t(index / bands);
    const int lastRow = rowBand + 1 < rowStarts_.size() ? rowStarts_[rowBand + 1] - 1 : rowCount_;
    const int lastCol = colBand + 1 < colStarts_.size() ? colStarts_[colBand + 1] - 1 : colCount_;
    return {rowStarts_[rowBand], lastRow, colStarts_[colBand], lastCol};
}

void BoundaryCursor::reset(std::vector<int> starts)
{
    starts_ = std::move(starts);
    at_ = 1;
}

int BoundaryCursor::next()
{
    if (at_ < starts_.size())
        return starts_[at_++];
    at_ = 1;
    return -1;
}

} // namespace qv::print
