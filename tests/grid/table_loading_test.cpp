// What a grid window shows of each table: the whole table or the round's
// rows, in the table's own order whatever order the rows were stored in.
#include "common/cell_text.h"
#include "grid/core/table_statements.h"
#include "store/auction_schema.h"
#include "store/database.h"
#include "support/query_plan.h"
#include "support/statement_log.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

// Each row's cells joined by blanks, the rows by commas.
QString shown(const store::Recordset& rows)
{
    QStringList lines;
    for (int r = 0; r < rows.recordCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < rows.fieldCount(); ++c)
            cells << cellDisplay(rows.at(r, c));
        lines << cells.join(QLatin1Char(' '));
    }
    return lines.join(QLatin1Char(','));
}

} // namespace

TEST(TableLoading, EachTableShowsItsRowsInItsOwnOrder)
{
    const struct {
        const char* table;
        const char* columns;
        const char* rows; // stored out of order, with a row of round 2
        const char* shown;
        bool roundList;
    } cases[] = {
        {"Round Statistics", "[Round] Number", "(5), (1), (2)", "1,2,5", false},
        {"Increment Statistics", "[Round] Number", "(5), (1), (2)", "1,2,5", false},
        {"Waiver Statistics", "[Round] Number", "(5), (1), (2)", "1,2,5", false},
        {"Withdrawal Statistics", "[Withdrawal Number] Number", "(3), (1), (2)", "1,2,3", false},
        {"Miscellaneous Statistics", "[Round] Number", "(5), (1), (2)", "5,1,2", false},
        {"Reduction Statistics", "[Round] Number", "(5), (1), (2)", "5,1,2", false},
        {"All Bids", "[Round] Number, [Market] Text, [Block] Text, [Submarket] Number",
         "(5, 'B002', 'A', 1), (5, 'B001', 'B', 1), (2, 'B000', 'A', 1), (5, 'B001', 'A', 2), (5, 'B001', "
         "'A', 1)",
         "5 B001 A 1,5 B001 A 2,5 B001 B 1,5 B002 A 1", true},
        {"Markets", "[Round] Number, [License Name] Text", "(5, 'B-2'), (2, 'A-0'), (5, 'A-1')",
         "5 A-1,5 B-2", true},
        {"Bidders Raising Own High Bid", "[Round] Number, [License Name] Text",
         "(5, 'B-2'), (2, 'A-0'), (5, 'A-1')", "5 A-1,5 B-2", true},
        {"Bidders", "[Round] Number, [Bidder] Text", "(5, 'Kestrel'), (2, 'Egret'), (5, 'Heron')",
         "5 Heron,5 Kestrel", true},
        {"Bidders Who Reduced", "[Round] Number, [Bidder Who Reduced] Text",
         "(5, 'Kestrel'), (2, 'Egret'), (5, 'Heron')", "5 Heron,5 Kestrel", true},
        {"Bob's Bids", "[Round] Number, [Bidder] Text", "(5, 'Kestrel'), (2, 'Egret'), (5, 'Heron')",
         "5 Kestrel,5 Heron", true},
    };
    test::TempDir dir;
    auto db = store::Database::create(dir.file(QStringLiteral("Auction5.mdb")));
    for (const auto& c : cases) {
        const QString table = QString::fromUtf8(c.table);
        db->execute(QStringLiteral("CREATE TABLE [%1] (%2)").arg(table, QLatin1String(c.columns)));
        db->execute(QStringLiteral("INSERT INTO [%1] VALUES %2").arg(table, QLatin1String(c.rows)));
    }
    for (const auto& c : cases) {
        const grid::TableLoad load = grid::loadTable(*db, QString::fromUtf8(c.table), QStringLiteral("5"));
        EXPECT_EQ(shown(*load.rows), QLatin1String(c.shown)) << c.table;
        EXPECT_EQ(load.roundListEnabled, c.roundList) << c.table;
    }
    // Names compare exactly: in other letters a statistics table is one of
    // the round's rows, unordered.
    const grid::TableLoad other =
        grid::loadTable(*db, QStringLiteral("round statistics"), QStringLiteral("5"));
    EXPECT_EQ(shown(*other.rows), QStringLiteral("5"));
    EXPECT_TRUE(other.roundListEnabled);

    // With the auction's indexes, a round's rows are searched, never read
    // from the whole table ([Markets] by its licence index alone).
    db->execute(store::schema::CreateSuppliedTables);
    for (const char* table : {"All Bids", "Markets", "Bidders"})
        db->execute(store::schema::insertSuppliedTable(QString::fromUtf8(table)));
    store::schema::ensureRoundIndexes(*db);
    for (const char* table : {"All Bids", "Markets", "Bidders"}) {
        test::StatementLog log(db->handle());
        grid::loadTable(*db, QString::fromUtf8(table), QStringLiteral("5"));
        const QStringList byRound = log.matching(QStringLiteral("WHERE"));
        ASSERT_EQ(byRound.size(), 1) << table;
        const QStringList plan = test::queryPlan(db->handle(), byRound.first());
        EXPECT_EQ(test::tableScans(plan), QStringList()) << byRound.first().toStdString();
        EXPECT_TRUE(plan.join(QLatin1Char(' ')).contains(QStringLiteral(" INDEX qv_round:"))) << table;
    }
}
