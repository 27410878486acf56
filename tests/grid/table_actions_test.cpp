// The filter expression and sort specification a grid window applies to its
// rows, and the selection statistics of the status bar.
#include "common/error.h"
#include "grid/core/selection_statistics.h"
#include "query/core/table_actions.h"

#include <gtest/gtest.h>

#include <QMap>

using namespace qv::grid;
using namespace qv::query;

namespace {

QString filterOf(const QList<FilterCondition>& conditions,
                 const QStringList& joiners = {QStringLiteral("And"), QStringLiteral("And"),
                                               QStringLiteral("And")})
{
    return filterExpression(conditions, joiners);
}

FilterCondition cond(const char* column, const char* op, const char* value)
{
    return {QString::fromUtf8(column), QString::fromUtf8(op), QString::fromUtf8(value)};
}

} // namespace

TEST(FilterExpression, NumbersStandBareTextInDoubleQuotesWithoutBlankAfterOperator)
{
    EXPECT_EQ(filterOf({cond("Round", ">", "5")}), QStringLiteral("[Round] >5"));
    EXPECT_EQ(filterOf({cond("Round", ">", "5a")}), QStringLiteral("[Round] >\"5a\""));
    EXPECT_EQ(filterOf({cond("Gross Bid Amount", ">=", "-1.5e3")}),
              QStringLiteral("[Gross Bid Amount] >=-1.5e3"));
    EXPECT_EQ(filterOf({cond("Bidder", "<>", "Heron")}), QStringLiteral("[Bidder] <>\"Heron\""));
    // Account numbers are text even when made of digits.
    EXPECT_EQ(filterOf({cond("Zelnar Acct", "=", "0001234567")}),
              QStringLiteral("[Zelnar Acct] =\"0001234567\""));
    // Words a number parser might take are not numbers here.
    EXPECT_EQ(filterOf({cond("Round", "=", "inf")}), QStringLiteral("[Round] =\"inf\""));
    EXPECT_EQ(filterOf({cond("Round", "=", "1,000")}), QStringLiteral("[Round] =\"1,000\""));
}

TEST(FilterExpression, ADoubleQuoteInAValueStaysInsideItsString)
{
    EXPECT_EQ(filterOf({cond("Bidder", "=", "x\" Or \"1\"=\"1")}),
              QStringLiteral("[Bidder] =\"x\"\" Or \"\"1\"\"=\"\"1\""));
}

TEST(FilterExpression, RowsJoinWithTheirOwnWordEvenAfterAnEmptyRow)
{
    const QStringList joiners{QStringLiteral("Or"), QStringLiteral("And"), QStringLiteral("Or")};
    EXPECT_EQ(filterOf({cond("Round", ">=", "5"), cond("Bidder", "=", "X")}, joiners),
              QStringLiteral("[Round] >=5 Or [Bidder] =\"X\""));
    // Row 2 empty: row 3 joins with the second choice.
    EXPECT_EQ(filterOf({cond("Round", ">", "1"), cond("", "=", ""), cond("Market", "=", "B001")}, joiners),
              QStringLiteral("[Round] >1 And [Market] =\"B001\""));
    // A row needs both a column and a value.
    EXPECT_EQ(filterOf({cond("Round", ">", ""), cond("", "=", "3"), cond("Block", "<", "C")}, joiners),
              QStringLiteral(" And [Block] <\"C\""));
    EXPECT_EQ(filterOf({cond("", "=", ""), cond("", "=", "")}, joiners), QString());
}

TEST(SortSpecification, TickedAscendingUntickedDescendingInListOrder)
{
    EXPECT_EQ(sortSpecification({{QStringLiteral("Bidder"), true}, {QStringLiteral("Round"), false}}),
              QStringLiteral("[Bidder], [Round] DESC"));
    EXPECT_EQ(sortSpecification({{QStringLiteral("Gross Bid Amount"), false}}),
              QStringLiteral("[Gross Bid Amount] DESC"));
    EXPECT_EQ(sortSpecification({}), QString());
}

TEST(SelectionStatistics, FormatHasCommaGroupsAndTwoDecimals)
{
    EXPECT_EQ(formatStatistic(60), QStringLiteral("60.00"));
    EXPECT_EQ(formatStatistic(7), QStringLiteral("7.00"));
    EXPECT_EQ(formatStatistic(0), QStringLiteral(".00"));
    EXPECT_EQ(formatStatistic(0.456), QStringLiteral(".46"));
    EXPECT_EQ(formatStatistic(999.999), QStringLiteral("1,000.00"));
    EXPECT_EQ(formatStatistic(1234567.5), QStringLiteral("1,234,567.50"));
    EXPECT_EQ(formatStatistic(-1234.5), QStringLiteral("-1,234.50"));
    // Whole parts of exactly three and six digits: no comma in front.
    EXPECT_EQ(formatStatistic(-123.4), QStringLiteral("-123.40"));
    EXPECT_EQ(formatStatistic(123456), QStringLiteral("123,456.00"));
    // A negative that rounds to nothing has no sign; one that rounds to a cent has.
    EXPECT_EQ(formatStatistic(-0.004), QStringLiteral(".00"));
    EXPECT_EQ(formatStatistic(-1e-12), QStringLiteral(".00"));
    EXPECT_EQ(formatStatistic(-0.006), QStringLiteral("-.01"));
}

namespace {

// A column of cells as the grid shows them; rows from 1.
struct Cells {
    QMap<QPair<int, int>, QString> texts;
    int rows = 0;
    void column(int col, const QStringList& values)
    {
        for (int r = 0; r < values.size(); ++r)
            texts[{col, r + 1}] = values[r];
        rows = std::max(rows, static_cast<int>(values.size()));
    }
    std::optional<QString> stat(const char* kind, const QList<SelectionBlock>& blocks) const
    {
        return selectionStatistic(
            QString::fromUtf8(kind), blocks,
            [this](int c, int r) {
                return texts.value({c, r});
            },
            rows);
    }
};

} // namespace

TEST(SelectionStatistics, BlocksOfOneColumnAddUp)
{
    Cells cells;
    cells.column(
        2, {QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("30"), QStringLiteral("1000000")});
    EXPECT_EQ(cells.stat("Sum", {{2, 1, 2, 3}}), QStringLiteral("60.00"));
    EXPECT_EQ(cells.stat("Average", {{2, 1, 2, 3}}), QStringLiteral("20.00"));
    EXPECT_EQ(cells.stat("Count", {{2, 1, 2, 3}}), QStringLiteral("3.00"));
    // Two blocks of the same column together.
    EXPECT_EQ(cells.stat("Sum", {{2, 1, 2, 1}, {2, 3, 2, 4}}), QStringLiteral("1,000,040.00"));
    // Nothing selected, or an unknown kind: the panel keeps its text.
    EXPECT_EQ(cells.stat("Sum", {}), std::nullopt);
    EXPECT_EQ(cells.stat("Median", {{2, 1, 2, 3}}), std::nullopt);
}

TEST(SelectionStatistics, MoreThanOneColumnOrANonNumberShowsZero)
{
    Cells cells;
    cells.column(1, {QStringLiteral("Heron"), QStringLiteral("Kestrel")});
    cells.column(2, {QStringLiteral("10"), QString(), QStringLiteral("30")});
    EXPECT_EQ(cells.stat("Sum", {{1, 1, 2, 2}}), QStringLiteral("0"));
    // Two columns of numbers are still two columns.
    cells.column(3, {QStringLiteral("5"), QStringLiteral("7")});
    EXPECT_EQ(cells.stat("Sum", {{2, 1, 3, 1}}), QStringLiteral("0"));
    EXPECT_EQ(cells.stat("Count", {{2, 1, 2, 1}, {2, 3, 3, 3}}), QStringLiteral("0"));
    EXPECT_EQ(cells.stat("Sum", {{2, 1, 2, 1}, {1, 1, 1, 1}}), QStringLiteral("0"));
    EXPECT_EQ(cells.stat("Sum", {{1, 1, 1, 1}}), QStringLiteral("0"));
    // An empty cell inside a block is not a number either.
    EXPECT_EQ(cells.stat("Count", {{2, 1, 2, 3}}), QStringLiteral("0"));
}

TEST(SelectionStatistics, AWholeColumnCountsDownToItsFirstEmptyCell)
{
    Cells cells;
    cells.column(3, {QStringLiteral("5"), QStringLiteral("7"), QString(), QStringLiteral("100")});
    EXPECT_EQ(cells.stat("Sum", {{3, -1, 3, -1}}), QStringLiteral("12.00"));
    EXPECT_EQ(cells.stat("Count", {{3, 1, 3, 1}, {3, -1, 3, -1}}), QStringLiteral("2.00"));
    // Empty from the top: nothing counted, and an average of nothing fails.
    Cells empty;
    empty.column(1, {QString(), QStringLiteral("4")});
    EXPECT_EQ(empty.stat("Count", {{1, -1, 1, -1}}), QStringLiteral(".00"));
    try {
        empty.stat("Average", {{1, -1, 1, -1}});
        FAIL() << "an average of no cell must fail";
    } catch (const qv::Error& error) {
        EXPECT_EQ(error.number(), 6);
    }
}
