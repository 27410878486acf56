// The filter's value lists: each value once, in the engine's order.
#include "grid/core/table_statements.h"
#include "store/database.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

TEST(DistinctValues, TextsWithoutRegardToCaseNumbersAsNumbersDatesByDate)
{
    qv::test::TempDir dir;
    auto db = qv::store::Database::create(dir.file(QStringLiteral("Auction5.mdb")));
    db->execute(QStringLiteral("CREATE TABLE [All Bids] ([Round] Long, [Bidder] Text(50), [Gross Bid Amount] "
                               "Currency, [Date] DateTime)"));
    // Inserted out of every order; a case-sensitive sort puts "Zeta" before
    // "apex", a sort of the texts shown puts 10 before 9 and 12/1 before 2/1.
    const char* const rows[] = {
        "(10, 'Zeta', 1500000, #2/1/2026#)",
        "(9, 'apex', 950000, #12/1/2025#)",
        "(2, 'Bell', 1500000, #1/15/2026#)",
        "(10, 'APEX', 20000, #2/1/2026#)",
    };
    for (const char* row : rows)
        db->execute(QStringLiteral("INSERT INTO [All Bids] VALUES ") + QLatin1String(row));

    const struct {
        const char* column;
        QStringList values;
    } cases[] = {
        {"Round", {QStringLiteral("2"), QStringLiteral("9"), QStringLiteral("10")}},
        // "apex" and "APEX" are one name to the engine.
        {"Bidder", {QStringLiteral("apex"), QStringLiteral("Bell"), QStringLiteral("Zeta")}},
        {"Gross Bid Amount", {QStringLiteral("20000"), QStringLiteral("950000"), QStringLiteral("1500000")}},
        {"Date", {QStringLiteral("12/1/2025"), QStringLiteral("1/15/2026"), QStringLiteral("2/1/2026")}},
    };
    for (const auto& c : cases) {
        QStringList values =
            qv::grid::distinctValues(*db, QStringLiteral("All Bids"), QString::fromLatin1(c.column));
        // Which spelling of a name stands for it is the engine's choice.
        values.replaceInStrings(QStringLiteral("APEX"), QStringLiteral("apex"));
        EXPECT_EQ(values, c.values) << c.column;
    }
}

} // namespace
