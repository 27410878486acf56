// quorvane-cli pivot from end to end.
#include "store/auction_schema.h"
#include "store/database.h"
#include "support/bid_auction.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace qv::test {
namespace {

TEST(PivotCommand, PrintsThePivotTableAndWritesTheWorkbook)
{
    TempDir folder;
    const QString db = makeBidAuction(folder.path());
    const QString xlsx = folder.file(QStringLiteral("bids.xlsx"));
    const CliRun run =
        runCli({QStringLiteral("pivot"), db, QStringLiteral("bidders"), QStringLiteral("--from"),
                QStringLiteral("2"), QStringLiteral("--to"), QStringLiteral("3"), QStringLiteral("--net"),
                QStringLiteral("--select"), QStringLiteral("Kestrel"), QStringLiteral("--select"),
                QStringLiteral("Heron"), QStringLiteral("-o"), xlsx, QStringLiteral("--tsv")});
    EXPECT_EQ(run.code, 0) << run.out.toStdString() << run.err.toStdString();
    // Heron's round 3 bid on B-2 has no net amount: an empty cell.
    EXPECT_EQ(run.out, QStringLiteral("Sum of Net Bid Amount\tMarket\tBlock\tSubmarket\tMarket Name\tBidder\t"
                                      "Increments of Bid\n"
                                      "\tM1\t\tM2\n"
                                      "\tA\t\tB\n"
                                      "\t1\t\t2\n"
                                      "\tAlbany\t\tBoston\n"
                                      "\tHeron\tKestrel\tHeron\n"
                                      "Round\t1\t1\t3\n"
                                      "2\t\t2025\t\n"
                                      "3\t1400\t\t\n"));
    EXPECT_TRUE(QFileInfo(xlsx).size() > 0);
}

TEST(PivotCommand, MessagesAndExitCodes)
{
    TempDir folder;
    const QString db = makeBidAuction(folder.path());
    const QStringList pivot = {QStringLiteral("pivot"), db};
    // Beyond the four imported rounds: the message, and no pivot.
    CliRun run =
        runCli(pivot + QStringList{QStringLiteral("rounds"), QStringLiteral("--from"), QStringLiteral("5")});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("Error: Error! The starting round you have requested is")))
        << run.err.toStdString();
    // The ending-round question, answered Yes: rounds 2 to 4.
    run = runCli(QStringList{QStringLiteral("--yes")} + pivot +
                 QStringList{QStringLiteral("rounds"), QStringLiteral("--from"), QStringLiteral("2"),
                             QStringLiteral("--to"), QStringLiteral("30")});
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(run.out.endsWith(QStringLiteral("Sum of Gross Bid Amount: 6 bids, 3 rounds, 4 columns\n")))
        << run.out.toStdString();
    // A name not offered: nothing chosen, no pivot.
    run = runCli(pivot + QStringList{QStringLiteral("markets"), QStringLiteral("--from"), QStringLiteral("1"),
                                     QStringLiteral("--select"), QStringLiteral("Z-9")});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Z-9")));
    // No bid in the range: the error report (To below From is a range too: Between takes either order).
    run = runCli(pivot + QStringList{QStringLiteral("rounds"), QStringLiteral("--from"), QStringLiteral("0"),
                                     QStringLiteral("--to"), QStringLiteral("0")});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.err, QStringLiteral("Quorvane: Error 3021: No current record.\n"));
    EXPECT_EQ(run.out, QString());
    // At most four digits, as in the dialog.
    EXPECT_EQ(runCli(pivot +
                     QStringList{QStringLiteral("rounds"), QStringLiteral("--from"), QStringLiteral("12345")})
                  .code,
              2);
    // A picture of a kind the chart is not written as: refused before any work.
    const QString gif = folder.file(QStringLiteral("chart.gif"));
    run = runCli(pivot + QStringList{QStringLiteral("rounds"), QStringLiteral("--from"), QStringLiteral("1"),
                                     QStringLiteral("--chart"), gif});
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral(".png or .svg"))) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(gif));
}

// An auction made before the analyses' join had its index gets it, as the
// desktop program's open gives it.
TEST(PivotCommand, AnAuctionLackingTheLicenceIndexGetsIt)
{
    TempDir folder;
    const QString db = makeBidAuction(folder.path());
    const auto licenceIndexes = [&db]() {
        auto database = store::Database::open(db);
        return database
            ->openRecordset(QStringLiteral("SELECT name FROM sqlite_master WHERE name = '") +
                            store::schema::MarketsLicenceIndex + QLatin1Char('\''))
            ->recordCount();
    };
    {
        auto database = store::Database::open(db);
        database->execute(store::schema::CreateSuppliedTables);
        database->execute(store::schema::insertSuppliedTable(QStringLiteral("All Bids")));
        database->execute(store::schema::insertSuppliedTable(QStringLiteral("Markets")));
    }
    const QStringList rounds = {QStringLiteral("pivot"),  db,
                                QStringLiteral("rounds"), QStringLiteral("--from"),
                                QStringLiteral("1"),      QStringLiteral("--to"),
                                QStringLiteral("4")};
    EXPECT_EQ(licenceIndexes(), 0);
    const CliRun run = runCli(rounds);
    EXPECT_EQ(run.code, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.endsWith(QStringLiteral("Sum of Gross Bid Amount: 8 bids, 4 rounds, 5 columns\n")))
        << run.out.toStdString();
    EXPECT_EQ(licenceIndexes(), 1);
}

} // namespace
} // namespace qv::test
