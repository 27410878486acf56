// The chart of a pivot table: its lines against the pivot's own cells, and
// which lines are shown when the chart opens.
#include "analysis/core/pivot_chart_data.h"
#include "analysis/core/pivot_table.h"
#include "analysis/core/workbook.h"
#include "bids_workbook.h"

#include <gtest/gtest.h>

namespace qv::analysis {
namespace {

using test::Bid;
using test::bidsWorkbook;

QStringList shownNames(const PivotChartData& data)
{
    QStringList names;
    for (const ChartSeries& series : data.series) {
        if (series.shown)
            names << series.name;
    }
    return names;
}

TEST(PivotChartData, LinesEqualThePivotCellsEmptyCellsIncluded)
{
    // Heron bids twice in round 3 (summed), skips round 2 (empty); Kestrel's
    // round 2 amount is not a number (empty).
    const WorkbookModel app = bidsWorkbook({{1, QStringLiteral("Heron"), 100.0},
                                            {3, QStringLiteral("Heron"), 150.0},
                                            {3, QStringLiteral("Heron"), 25.5},
                                            {1, QStringLiteral("Kestrel"), 90.0},
                                            {2, QStringLiteral("Kestrel"), QStringLiteral("n/a")},
                                            {3, QStringLiteral("Kestrel"), 200.0}});
    const Workbook& book = app.workbook(0);
    const PivotResult pivot = computePivot(book, book.pivots.front());
    const PivotChartData data = pivotChartData(pivot);

    EXPECT_EQ(data.title, QStringLiteral("Sum of Amount"));
    EXPECT_EQ(data.rounds, (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    EXPECT_EQ(data.xs, (std::vector<double>{1, 2, 3}));
    ASSERT_EQ(data.series.size(), size_t(pivot.columnCount()));
    for (int column = 0; column < pivot.columnCount(); ++column) {
        ASSERT_EQ(data.series[size_t(column)].values.size(), size_t(pivot.rowCount()));
        for (int row = 0; row < pivot.rowCount(); ++row)
            EXPECT_EQ(data.series[size_t(column)].values[size_t(row)], pivot.value(row, column));
    }
    EXPECT_EQ(data.series[0].name, QStringLiteral("Heron"));
    EXPECT_EQ(data.series[0].values, (std::vector<std::optional<double>>{100.0, std::nullopt, 175.5}));
    EXPECT_EQ(data.series[1].values, (std::vector<std::optional<double>>{90.0, std::nullopt, 200.0}));
}

TEST(PivotChartData, ShowsTheTenHighestInTheLastRoundAtFirst)
{
    // Twelve bidders: B01..B11 bid their number times ten in round 2, except
    // B01, which ties with B02 at 20, and B03 and B04, which tie with B05 at 50.
    // B12 bids the most in round 1 but nothing in round 2.
    std::vector<Bid> bids;
    for (int i = 1; i <= 12; ++i) {
        const QString name = QStringLiteral("B%1").arg(i, 2, 10, QLatin1Char('0'));
        bids.push_back({1, name, 5.0});
        if (i == 12)
            bids.back().amount = 1000.0;
        else
            bids.push_back({2, name, (i == 3 || i == 4) ? 50.0 : i == 1 ? 20.0 : 10.0 * i});
    }
    const WorkbookModel app = bidsWorkbook(bids);
    const Workbook& book = app.workbook(0);
    const PivotChartData data = pivotChartData(computePivot(book, book.pivots.front()));
    ASSERT_EQ(data.series.size(), size_t(12));
    // The tie for tenth place goes to the leftmost; an empty last round ranks lowest.
    EXPECT_EQ(shownNames(data),
              (QStringList{QStringLiteral("B01"), QStringLiteral("B03"), QStringLiteral("B04"),
                           QStringLiteral("B05"), QStringLiteral("B06"), QStringLiteral("B07"),
                           QStringLiteral("B08"), QStringLiteral("B09"), QStringLiteral("B10"),
                           QStringLiteral("B11")}))
        << shownNames(data).join(QLatin1Char(',')).toStdString();

    // Fewer groups than ten: all shown.
    EXPECT_EQ(shownNames(pivotChartData(computePivot(book, book.pivots.front()), 20)).size(), 12);
    EXPECT_EQ(shownNames(pivotChartData(computePivot(book, book.pivots.front()), 3)),
              (QStringList{QStringLiteral("B09"), QStringLiteral("B10"), QStringLiteral("B11")}));
}

} // namespace
} // namespace qv::analysis
