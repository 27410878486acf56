#include "support/bid_auction.h"

#include "store/database.h"

namespace qv::test {

QString makeBidAuction(const QString& folder)
{
    const QString path = folder + QStringLiteral("/Auction5.mdb");
    auto db = store::Database::create(path);
    const char* const statements[] = {
        "CREATE TABLE [sysRounds] ([Round] Long)",
        "CREATE TABLE [All Bids] ([Auction ID] Long, [Round] Long, [License Name] Text(20), [Market] "
        "Text(8), "
        "[Block] Text(2), [Submarket] Long, [Bidder] Text(50), [Increments of Bid] Long, "
        "[Gross Bid Amount] Currency, [Net Bid Amount] Currency)",
        "CREATE TABLE [Markets] ([Auction ID] Long, [Round] Long, [License Name] Text(20), "
        "[Market Name] Text(50), [Market] Text(8), [Block] Text(2), [Submarket] Long)",
        "INSERT INTO [All Bids] VALUES (5, 1, 'B-2', 'M2', 'B', 2, 'Kestrel', 1, 2000, 1800)",
        "INSERT INTO [All Bids] VALUES (5, 1, 'A-1', 'M1', 'A', 1, 'Heron', 1, 1000, 1000)",
        "INSERT INTO [All Bids] VALUES (5, 2, 'A-1', 'M1', 'A', 1, 'O''Brien Mobile', 2, 1300, 975)",
        "INSERT INTO [All Bids] VALUES (5, 2, 'A-1', 'M1', 'A', 1, 'Kestrel', 1, 1100, 990)",
        "INSERT INTO [All Bids] VALUES (5, 2, 'A-1', 'M1', 'A', 1, 'Kestrel', 1, 1150, 1035)",
        "INSERT INTO [All Bids] VALUES (5, 3, 'B-2', 'M2', 'B', 2, 'Heron', 3, 2600, NULL)",
        "INSERT INTO [All Bids] VALUES (5, 3, 'A-1', 'M1', 'A', 1, 'Heron', 1, 1400, 1400)",
        "INSERT INTO [All Bids] VALUES (5, 4, 'B-2', 'M2', 'B', 2, 'O''Brien Mobile', 1, 2800, 2100)",
        "INSERT INTO [All Bids] VALUES (5, 4, 'A-1', 'M1', 'A', 1, 'Kestrel', 1, 1500, 1350)",
    };
    db->beginTrans();
    for (const char* statement : statements)
        db->execute(QLatin1String(statement));
    for (int round = 1; round <= 4; ++round) {
        db->execute(QStringLiteral("INSERT INTO [sysRounds] VALUES (%1)").arg(round));
        db->execute(
            QStringLiteral("INSERT INTO [Markets] VALUES (5, %1, 'A-1', 'Albany', 'M1', 'A', 1)").arg(round));
        if (round < 4)
            db->execute(QStringLiteral("INSERT INTO [Markets] VALUES (5, %1, 'B-2', 'Boston', 'M2', 'B', 2)")
                            .arg(round));
    }
    db->commitTrans();
    db->close();
    return path;
}

} // namespace qv::test
