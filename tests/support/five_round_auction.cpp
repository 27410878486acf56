#include "support/five_round_auction.h"

#include "store/database.h"
#include "store/sql_quote.h"
#include "store/sqlite_statement.h"

#include <QFile>

namespace qv::test {

QString makeFiveRoundAuction(const QString& folder)
{
    const QString path = folder + QStringLiteral("/Auction9.mdb");
    auto db = store::Database::create(path);
    const char* const statements[] = {
        "CREATE TABLE [sysRounds] ([Round] Long)",
        "CREATE TABLE [All Bids] ([Auction ID] Long, [Round] Long, [License Name] Text(20), [Bidder] "
        "Text(50), "
        "[Increments of Bid] Long, [Gross Bid Amount] Currency, [Net Bid Amount] Currency, [New High Bid] "
        "Text(1))",
        "CREATE TABLE [Markets] ([Auction ID] Long, [Round] Long, [License Name] Text(20), [Market Name] "
        "Text(50), [High Bid] Currency)",
        "CREATE TABLE [Bidders] ([Round] Long, [Bidder] Text(50), [Current Eligibility] Long, "
        "[Additional Activity Required] Long)",
        "CREATE TABLE [Withdrawal Statistics] ([Withdrawal Number] Long, [Withdrawal Round] Long, "
        "[License Name] Text(20), [Bidder] Text(50))",
        "CREATE TABLE [Round Statistics] ([Auction ID] Long, [Round] Long, [Round Date] DateTime, [Net Bids] "
        "Currency, [Withdrawals] Long)",
        "INSERT INTO [All Bids] VALUES (9, 1, 'A-1', 'Heron', 1, 100, 100, 'Y'), "
        "(9, 1, 'A-1', 'Kestrel', 1, 90, 90, 'N'), (9, 1, 'B-2', 'Kestrel', 1, 200, 200, 'Y'), "
        "(9, 1, 'D[4]', 'Wren [West]', 1, 50, 50, 'Y'), "
        "(9, 2, 'A-1', 'Kestrel', 1, 110, 110, 'Y'), (9, 2, 'A-1', 'Heron', 1, 105, 105, 'N'), "
        "(9, 3, 'A-1', 'Heron', 2, 121, 121, 'Y'), (9, 3, 'D[4]', 'Wren [West]', 1, 55, 55, 'Y'), "
        "(9, 4, 'E-5', 'Heron', 1, 300, 300, 'N'), (9, 4, 'E-5', 'Kestrel', 1, 300, 300, 'Y'), "
        "(9, 5, 'B-2', 'O''Brien Mobile', 1, 180, 135, 'Y'), (9, 5, 'A-1', 'Kestrel', 1, 121, 121, 'N')",
        "INSERT INTO [Withdrawal Statistics] VALUES (1, 3, 'B-2', 'Kestrel')",
        "INSERT INTO [Round Statistics] VALUES (9, 1, #3/2/2026#, 350, 0), (9, 2, #3/2/2026#, 360, 0), "
        "(9, 3, #3/3/2026#, 176, 1), (9, 4, #3/3/2026#, 476, 0), (9, 5, #3/4/2026#, 611, 0)",
    };
    db->beginTrans();
    for (const char* statement : statements)
        db->execute(QLatin1String(statement));
    // The agency's standing high bids after each round: A-1, B-2 (empty while
    // the agency holds it), C-3 (never), D[4] (60 in round 5, not the bid's 55), E-5.
    const char* const highBids[5][5] = {{"100", "200", "NULL", "50", "NULL"},
                                        {"110", "200", "NULL", "50", "NULL"},
                                        {"121", "NULL", "NULL", "55", "NULL"},
                                        {"121", "NULL", "NULL", "55", "300"},
                                        {"121", "180", "NULL", "60", "300"}};
    const char* const licences[5][2] = {{"A-1", "Albany"},
                                        {"B-2", "Boston"},
                                        {"C-3", "Chicago & <Gary>"},
                                        {"D[4]", "Denver"},
                                        {"E-5", "El Paso"}};
    const int eligibility[5][4] = {// Heron, Kestrel, O'Brien Mobile, Wren [West]
                                   {150, 100, 60, 40},
                                   {150, 100, 60, 40},
                                   {150, 100, 60, 40},
                                   {150, 100, 60, 0},
                                   {150, 80, 60, 0}};
    const char* const bidders[4] = {"Heron", "Kestrel", "O''Brien Mobile", "Wren [West]"};
    for (int round = 1; round <= 5; ++round) {
        db->execute(QStringLiteral("INSERT INTO [sysRounds] VALUES (%1)").arg(round));
        for (int l = 0; l < 5; ++l)
            db->execute(QStringLiteral("INSERT INTO [Markets] VALUES (9, %1, '%2', '%3', %4)")
                            .arg(round)
                            .arg(QLatin1String(licences[l][0]), QLatin1String(licences[l][1]),
                                 QLatin1String(highBids[round - 1][l])));
        for (int b = 0; b < 4; ++b)
            db->execute(QStringLiteral("INSERT INTO [Bidders] VALUES (%1, '%2', %3, %4)")
                            .arg(round)
                            .arg(QLatin1String(bidders[b]))
                            .arg(eligibility[round - 1][b])
                            .arg(eligibility[round - 1][b] / 2));
    }
    db->commitTrans();
    db->close();
    return path;
}

void dropStandingsColumns(const QString& auctionPath)
{
    auto db = store::Database::open(auctionPath);
    for (const char* statement : {"ALTER TABLE \"All Bids\" DROP COLUMN \"New High Bid\"",
                                  "ALTER TABLE \"Markets\" DROP COLUMN \"High Bid\"",
                                  "ALTER TABLE \"Withdrawal Statistics\" DROP COLUMN \"Withdrawal Round\""})
        store::exec(db->handle(), QLatin1String(statement));
    db->close();
}

QString nameAsPicture(const QString& auctionPath, const QString& folder, const QString& column,
                      const QString& from, const QString& tail)
{
    const QString picture = folder + QStringLiteral("/p.png");
    QFile file(picture);
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray::fromBase64(
            "iVBORw0KGgoAAAANSUhEUgAAAAQAAAAECAIAAAAmkwkpAAAAEElEQVR4nGP4z8AARwzEcQCukw/"
            "x0F8jngAAAABJRU5ErkJggg=="));
    const QString name = QStringLiteral("<img src=\"") + picture + QStringLiteral("\">") + tail;
    auto db = store::Database::open(auctionPath);
    // A licence name holds 20 letters here: the markup stands in for a file
    // whose columns are wider.
    store::exec(db->handle(), QStringLiteral("PRAGMA ignore_check_constraints = ON"));
    for (const QString& table : db->tableNames())
        if (db->columnNames(table).contains(column))
            store::exec(db->handle(),
                        QStringLiteral("UPDATE \"%1\" SET \"%2\" = %3 WHERE \"%2\" = %4")
                            .arg(table, column, store::quoteText(name), store::quoteText(from)));
    db->close();
    return name;
}

} // namespace qv::test
