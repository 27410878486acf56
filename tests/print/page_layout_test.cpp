#include "print/core/page_layout.h"

#include <gtest/gtest.h>

using namespace qv::print;

namespace {

// Letter paper, half-inch margins: 10,800 by 14,400 twips inside them. With a
// 600-twip row-header column and a 300-twip header row, 10,200 twips across
// and 47 rows of 300 twips down.
SheetMetrics sheet(int rows, int columns, double width = 3000)
{
    SheetMetrics s;
    s.rowCount = rows;
    s.columnWidths.assign(size_t(columns), width);
    s.rowHeight = 300;
    s.headerHeight = 300;
    s.rowHeaderWidth = 600;
    return s;
}

PageSetup setup(int orientation)
{
    PageSetup s;
    s.orientation = orientation;
    return s;
}

using Starts = std::vector<int>;

} // namespace

TEST(PageLayout, PagesFollowPaperMarginsAndOrientation)
{
    const PageLayout portrait(setup(1), sheet(100, 5), {}, {});
    EXPECT_EQ(portrait.rowStarts(), (Starts{1, 48, 95}));
    EXPECT_EQ(portrait.colStarts(), (Starts{1, 4}));
    EXPECT_EQ(portrait.pageCount(), 6);

    // Across the page: 13,800 twips for columns, 35 rows down.
    const PageLayout landscape(setup(2), sheet(100, 5), {}, {});
    EXPECT_EQ(landscape.rowStarts(), (Starts{1, 36, 71}));
    EXPECT_EQ(landscape.colStarts(), (Starts{1, 5}));

    // No orientation given prints as portrait.
    EXPECT_EQ(PageLayout(setup(0), sheet(100, 5), {}, {}).rowStarts(), portrait.rowStarts());

    // Inch-and-a-half side margins leave room for two columns; a top margin
    // of two inches less rows.
    PageSetup wide = setup(1);
    wide.marginLeft = wide.marginRight = 1.5 * 1440;
    wide.marginTop = 2 * 1440;
    const PageLayout narrow(wide, sheet(100, 5), {}, {});
    EXPECT_EQ(narrow.colStarts(), (Starts{1, 3, 5}));
    EXPECT_EQ(narrow.rowStarts().at(1), 1 + (15840 - 2880 - 720 - 300) / 300);

    // Rows of their own heights.
    SheetMetrics tall = sheet(4, 1);
    tall.rowHeights = {7000, 7000, 7000, 100};
    EXPECT_EQ(PageLayout(setup(1), tall, {}, {}).rowStarts(), (Starts{1, 3}));
}

// Letter paper is 8.5 by 11 inches: an inch must stay inside the margins
// across and down, with the orientation chosen. Of two facing margins the
// larger is named.
TEST(PageLayout, MarginsMustLeaveAnInchToPrintOn)
{
    const struct {
        int orientation;
        double left, right, top, bottom; // inches
        std::optional<Margin> refused;
    } cases[] = {
        {1, 3.75, 3.75, 0.5, 0.5, std::nullopt}, // exactly an inch across
        {1, 3.76, 3.75, 0.5, 0.5, Margin::Left},
        {1, 3.75, 3.76, 0.5, 0.5, Margin::Right},
        {1, 0, 7.51, 0.5, 0.5, Margin::Right},
        {2, 5, 5, 0.5, 0.5, std::nullopt}, // landscape: eleven inches across
        {1, 5, 5, 0.5, 0.5, Margin::Left},
        {1, 1, 1, 5, 5.01, Margin::Bottom},
        {1, 1, 1, 5, 5, std::nullopt},
        {2, 1, 1, 3.76, 3.75, Margin::Top},
        {1, 9.99, 9.99, 9.99, 9.99, Margin::Left},
    };
    for (const auto& c : cases) {
        PageSetup s = setup(c.orientation);
        s.marginLeft = c.left * 1440;
        s.marginRight = c.right * 1440;
        s.marginTop = c.top * 1440;
        s.marginBottom = c.bottom * 1440;
        EXPECT_EQ(tooLargeMargin(s), c.refused)
            << c.left << ',' << c.right << ',' << c.top << ',' << c.bottom;
    }
    EXPECT_EQ(tooLargeMarginText(Margin::Bottom),
              QStringLiteral("The bottom margin is too large: the margins must leave at least an inch of "
                             "the page to print on, across and down."));
}

// A column wider than a page is as wide as the page beside the row headers.
TEST(PageLayout, NoColumnWiderThanAPage)
{
    SheetMetrics wide = sheet(3, 3);
    wide.columnWidths = {3000, 20000, 10200};
    fitColumnsToPage(wide, setup(1));
    EXPECT_EQ(wide.columnWidths, (std::vector<double>{3000, 10200, 10200}));
}

TEST(PageLayout, ForcedBreaksStartPages)
{
    const PageLayout forced(setup(1), sheet(100, 5), {10, 1, 200}, {2});
    // Row 1 always starts a page; a break beyond the rows changes nothing.
    EXPECT_EQ(forced.rowStarts(), (Starts{1, 10, 57}));
    EXPECT_EQ(forced.colStarts(), (Starts{1, 2, 5}));
    EXPECT_EQ(forced.pageCount(), 9);

    // Pages run down the rows, then over to the next columns.
    const PageCells first = forced.page(0);
    EXPECT_EQ(first.firstRow, 1);
    EXPECT_EQ(first.lastRow, 9);
    EXPECT_EQ(first.lastCol, 1);
    const PageCells fourth = forced.page(3);
    EXPECT_EQ(fourth.firstRow, 1);
    EXPECT_EQ(fourth.firstCol, 2);
    EXPECT_EQ(fourth.lastCol, 4);
    const PageCells last = forced.page(8);
    EXPECT_EQ(last.firstRow, 57);
    EXPECT_EQ(last.lastRow, 100);
    EXPECT_EQ(last.firstCol, 5);
    EXPECT_EQ(last.lastCol, 5);
}

TEST(PageLayout, EdgesOfTheSheet)
{
    // An empty table prints one page of headers.
    const PageLayout empty(setup(1), sheet(0, 3), {}, {});
    EXPECT_EQ(empty.pageCount(), 1);
    EXPECT_EQ(empty.page(0).lastRow, 0);

    // A column wider than the page stands alone, as do its neighbours.
    SheetMetrics wide = sheet(10, 3);
    wide.columnWidths[1] = 20000;
    EXPECT_EQ(PageLayout(setup(1), wide, {}, {}).colStarts(), (Starts{1, 2, 3}));

    // Margins past the paper still leave an inch to print on.
    PageSetup squeezed = setup(1);
    squeezed.marginLeft = squeezed.marginRight = 9.99 * 1440;
    EXPECT_EQ(squeezed.printableTwips().width(), 1440);
    EXPECT_GT(PageLayout(squeezed, sheet(10, 3), {}, {}).pageCount(), 0);
}

TEST(BoundaryCursor, ReportsEachBoundaryThenMinusOneThenStartsAgain)
{
    BoundaryCursor cursor;
    EXPECT_EQ(cursor.next(), -1);
    cursor.reset({1, 48, 95});
    EXPECT_EQ(cursor.next(), 48);
    EXPECT_EQ(cursor.next(), 95);
    EXPECT_EQ(cursor.next(), -1);
    EXPECT_EQ(cursor.next(), 48);
}
