#include "auction_fixture.h"

#include "store/database.h"

namespace qv::test {

QString makeSmallAuction(const QString& folder)
{
    const QString path = folder + QStringLiteral("/Auction5.mdb");
    auto db = store::Database::create(path);
    const char* const statements[] = {
        "CREATE TABLE [sysSuppliedTables] ([TableName] Text)",
        "CREATE TABLE [sysRounds] ([Round] Number)",
        "CREATE TABLE [sysTables] ([TableName] Text)",
        "CREATE TABLE [Round Statistics] ([Auction ID] Number, [Round] Number, [Net Bids] Number)",
        "CREATE TABLE [All Bids] ([Auction ID] Number, [Round] Number, [License Name] Text, [Market] Text, "
        "[Block] Text, [Submarket] Number, [Bidder] Text, [Net Bid Amount] Number)",
        "CREATE TABLE [Markets] ([Auction ID] Number, [Round] Number, [License Name] Text, [Market Name] "
        "Text)",
        "CREATE TABLE [Leaders] ([Bidder] Text, [Total] Number)",
        "INSERT INTO [sysSuppliedTables] ([TableName]) VALUES ('Round Statistics')",
        "INSERT INTO [sysSuppliedTables] ([TableName]) VALUES ('All Bids')",
        "INSERT INTO [sysSuppliedTables] ([TableName]) VALUES ('Markets')",
        "INSERT INTO [sysTables] ([TableName]) VALUES ('Round Statistics')",
        "INSERT INTO [sysTables] ([TableName]) VALUES ('All Bids')",
        "INSERT INTO [sysTables] ([TableName]) VALUES ('Markets')",
        "INSERT INTO [sysTables] ([TableName]) VALUES ('Leaders')",
        "INSERT INTO [Round Statistics] VALUES (5, 3, 300)",
        "INSERT INTO [Round Statistics] VALUES (5, 1, 100)",
        "INSERT INTO [Round Statistics] VALUES (5, 2, 200)",
        "INSERT INTO [All Bids] VALUES (5, 2, 'B002-B', 'B002', 'B', 1, 'Kestrel', 2000)",
        "INSERT INTO [All Bids] VALUES (5, 2, 'B001-A', 'B001', 'A', 2, 'Heron', 1500)",
        "INSERT INTO [All Bids] VALUES (5, 2, 'B001-A', 'B001', 'A', 1, 'Kestrel', 1200)",
        "INSERT INTO [All Bids] VALUES (5, 1, 'B001-A', 'B001', 'A', 1, 'Heron', 1000)",
        "INSERT INTO [All Bids] VALUES (5, 3, 'B003-C', 'B003', 'C', 1, 'Osprey', 900)",
        "INSERT INTO [Markets] VALUES (5, 2, 'B002-B', 'Boston')",
        "INSERT INTO [Markets] VALUES (5, 2, 'B001-A', 'Albany')",
        "INSERT INTO [Markets] VALUES (5, 1, 'B001-A', 'Albany')",
        "INSERT INTO [Leaders] VALUES ('Heron', 2500)",
        "INSERT INTO [Leaders] VALUES ('Kestrel', 3200)",
        "INSERT INTO [sysRounds] ([Round]) VALUES (1)",
        "INSERT INTO [sysRounds] ([Round]) VALUES (3)",
        "INSERT INTO [sysRounds] ([Round]) VALUES (2)",
    };
    db->beginTrans();
    for (const char* statement : statements)
        db->execute(QLatin1String(statement));
    db->commitTrans();
    db->close();
    return path;
}

} // namespace qv::test
