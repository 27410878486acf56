// A grid's rows read as they come into view hold the same cells, in the same
// places, as the rows read whole: across chunk boundaries, from either end,
// after a sort or a filter, and over rows never shown.
#include "common/cell_text.h"
#include "grid/core/selection_statistics.h"
#include "grid/core/table_statements.h"
#include "store/database.h"
#include "store/row_pager.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

constexpr int Chunk = store::RowPager::ChunkRows;

QString rowText(const store::Recordset& rows, int row)
{
    QStringList cells;
    for (int c = 0; c < rows.fieldCount(); ++c)
        cells << qv::cellDisplay(rows.at(row, c));
    return cells.join(QLatin1Char(' '));
}

// Every row of a set read on demand, visited from the end, the start and
// across the boundaries, equals the same row of the set read whole.
void expectSameRows(const store::Recordset& whole, const store::Recordset& paged, const QString& label)
{
    ASSERT_TRUE(paged.isPaged()) << label.toStdString();
    ASSERT_EQ(paged.recordCount(), whole.recordCount()) << label.toStdString();
    const int n = whole.recordCount();
    std::vector<int> visits = {n - 1, 0, Chunk - 1, Chunk, n / 2};
    for (int r = n - 1; r >= 0; --r)
        visits.push_back(r);
    for (int r : visits) {
        if (r >= 0 && r < n) {
            ASSERT_EQ(rowText(paged, r), rowText(whole, r)) << label.toStdString() << " row " << r;
        }
    }
}

// A table of rows over rounds 4..6 whose row ids are out of step with its
// values: rows inserted in descending licence order, some deleted after.
std::shared_ptr<store::Database> auctionWith(const test::TempDir& dir, const QString& table, int perRound)
{
    auto db = store::Database::create(dir.file(table.left(3) + QStringLiteral(".mdb")));
    db->execute(QStringLiteral("CREATE TABLE [%1] ([Round] Number, [License Name] Text, [High Bid] Number)")
                    .arg(table));
    db->beginTrans();
    for (int i = perRound + 9; i >= 0; --i)
        for (int round : {4, 5, 6})
            db->execute(QStringLiteral("INSERT INTO [%1] VALUES (%2, 'L%3', %4)")
                            .arg(table)
                            .arg(round)
                            .arg(i, 5, 10, QLatin1Char('0'))
                            .arg((i * 37) % 101));
    db->execute(QStringLiteral("DELETE FROM [%1] WHERE [License Name] < 'L00010'").arg(table));
    db->commitTrans();
    return db;
}

} // namespace

TEST(RowsOnDemand, ChunkBoundariesFromEitherEndMatchTheWholeRead)
{
    // Rows a round: none, one, a chunk less one, exactly one chunk, one more,
    // several chunks and a part.
    for (int perRound : {0, 1, Chunk - 1, Chunk, Chunk + 1, 3 * Chunk + 5}) {
        test::TempDir dir;
        // "Markets" reads in its licence order; another table in its stored order.
        for (const QString& table : {QStringLiteral("Markets"), QStringLiteral("Bob's Bids")}) {
            auto db = auctionWith(dir, table, perRound);
            const QString label = table + QLatin1Char('/') + QString::number(perRound);
            const auto whole = grid::loadTable(*db, table, QStringLiteral("5"));
            const auto paged = grid::loadTable(*db, table, QStringLiteral("5"), grid::RowReading::OnDemand);
            EXPECT_EQ(whole.rows->recordCount(), perRound) << label.toStdString();
            expectSameRows(*whole.rows, *paged.rows, label);
            // The round change and the whole table of the fallback.
            expectSameRows(*whole.rows, *grid::loadRound(*db, table, QStringLiteral("5")), label);
            expectSameRows(
                *db->openRecordset(grid::wholeTableStatement(table), store::RecordsetType::Snapshot),
                *db->openTableRows(table, {}, {}), label + QStringLiteral(" whole"));
        }
    }
}

TEST(RowsOnDemand, SortAndFilterRunInTheEngineAndMatchTheWholeRead)
{
    test::TempDir dir;
    const QString table = QStringLiteral("Markets");
    auto db = auctionWith(dir, table, 2 * Chunk + 3);
    const auto whole = db->openRecordset(grid::wholeTableStatement(table), store::RecordsetType::Snapshot);
    const auto paged = db->openTableRows(table, {}, {});
    const struct {
        const char* filter;
        const char* sort;
        int rows; // -1: every row
    } cases[] = {
        {"", "[High Bid] DESC, [License Name], [Round] DESC", -1}, // sorted, then straight to the end
        {"[Round] = 5", "", 2 * Chunk + 3},
        {"[Round] = 5", "[High Bid], [License Name]", 2 * Chunk + 3},
        {"[High Bid] > 1000", "", 0}, // nothing left
        {"[High Bid] > 1000", "[License Name]", 0},
    };
    for (const auto& c : cases) {
        const QString label = QString::fromUtf8(c.filter) + QLatin1Char('/') + QString::fromUtf8(c.sort);
        std::unique_ptr<store::Recordset> expected, got;
        for (auto* set : {whole.get(), paged.get()}) {
            set->filter = QString::fromUtf8(c.filter);
            std::unique_ptr<store::Recordset> filtered =
                set->filter.isEmpty() ? nullptr : set->openRecordset();
            store::Recordset& base = filtered ? *filtered : *set;
            base.sort = QString::fromUtf8(c.sort);
            auto shown = base.sort.isEmpty() ? std::move(filtered) : base.openRecordset();
            (set == whole.get() ? expected : got) = std::move(shown);
            set->filter.clear();
        }
        if (c.rows >= 0) {
            EXPECT_EQ(got->recordCount(), c.rows) << label.toStdString();
        }
        expectSameRows(*expected, *got, label);
        EXPECT_TRUE(got->at(got->recordCount(), 0).isNull()) << "past the last row";
    }
}

TEST(RowsOnDemand, TotalsReachRowsNeverShownAndTablesStayDroppable)
{
    test::TempDir dir;
    auto db = auctionWith(dir, QStringLiteral("Markets"), 4 * Chunk + 7);
    const auto sum =
        db->openRecordset(QStringLiteral("SELECT Sum([High Bid]) FROM [Markets] WHERE [Round] = 6"));
    // Read in the table's own order and in an order of its own.
    for (const QString& ordering : {QString(), QStringLiteral("[High Bid]")}) {
        const auto paged =
            db->openTableRows(QStringLiteral("Markets"), QStringLiteral("[Round] = 6"), ordering);
        // A whole column from row 1 down, none of it shown before.
        const std::vector<QVariant> values = paged->columnValues(2, 0, paged->recordCount());
        ASSERT_EQ(values.size(), size_t(4 * Chunk + 7));
        const auto cell = [&](int, int row) { return qv::cellDisplay(values[size_t(row - 1)]); };
        for (const char* kind : {"Sum", "Count"}) {
            const double expected = kind[0] == 'S' ? sum->at(0, 0).toDouble() : 4 * Chunk + 7;
            EXPECT_EQ(grid::selectionStatistic(QString::fromUtf8(kind), {{3, -1, 3, -1}}, cell,
                                               paged->recordCount())
                          .value_or(QString()),
                      grid::formatStatistic(expected))
                << kind << ordering.toStdString();
        }
        EXPECT_EQ(qv::cellDisplay(values.back()),
                  rowText(*paged, paged->recordCount() - 1).section(QLatin1Char(' '), 2));
    }
    // No statement of a set stays active: the table can go while it is on show.
    const auto shown = db->openTableRows(QStringLiteral("Markets"), {}, {});
    EXPECT_FALSE(shown->at(2 * Chunk, 0).isNull());
    EXPECT_NO_THROW(db->execute(QStringLiteral("DROP TABLE [Markets]")));
}
