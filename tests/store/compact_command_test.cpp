// quorvane-cli compact: every row kept, safe against a second program that
// imports into the auction at the same time, failures reported as such.
#include "store/database.h"
#include "support/concurrent_import.h"
#include "support/temp_dir.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <map>

using namespace qv::test;

namespace {

std::map<QString, int> rowsOfEveryTable(const QString& path)
{
    std::map<QString, int> counts;
    QStringList tables;
    {
        auto db = qv::store::Database::open(path);
        tables = db->tableNames();
    }
    for (const QString& table : tables) {
        if (!table.startsWith(QLatin1String("sqlite_")))
            counts[table] = rowCount(path, table);
    }
    return counts;
}

} // namespace

TEST(CompactCommand, KeepsEveryRowOfEveryTable)
{
    TempDir dir;
    const GeneratedAuction auction = makeGeneratedAuction(dir.path(), 3);
    ASSERT_EQ(runCli({QStringLiteral("--app-dir"), auction.appDir, QStringLiteral("import"), auction.path,
                      auction.roundFile(2)}),
              0);
    // Importing round 2 again replaces its rows and leaves free pages behind.
    ASSERT_EQ(runCli({QStringLiteral("--app-dir"), auction.appDir, QStringLiteral("import"), auction.path,
                      auction.roundFile(2)}),
              0);
    const auto before = rowsOfEveryTable(auction.path);
    const qint64 sizeBefore = QFileInfo(auction.path).size();
    ASSERT_GT(before.size(), 5u);
    ASSERT_GT(before.at(QStringLiteral("All Bids")), 0);

    QString output;
    EXPECT_EQ(runCli({QStringLiteral("compact"), auction.path}, &output), 0);
    EXPECT_TRUE(output.contains(QStringLiteral("Compacted ") + auction.path)) << output.toStdString();
    EXPECT_EQ(rowsOfEveryTable(auction.path), before);
    EXPECT_LE(QFileInfo(auction.path).size(), sizeBefore);
    EXPECT_EQ(roundsOf(auction.path), (QList<int>{1, 2}));
}

TEST(CompactCommand, AnImportRunningMeanwhileKeepsItsRound)
{
    TempDir dir;
    const GeneratedAuction auction = makeGeneratedAuction(dir.path(), 2);
    ImportingProcess import(auction, 2);
    import.waitUntilWriting();
    QString output;
    const int compactCode = runCli({QStringLiteral("compact"), auction.path}, &output);
    EXPECT_EQ(import.finish(), 0) << import.output().toStdString();
    EXPECT_EQ(compactCode, 0) << output.toStdString();
    EXPECT_EQ(roundsOf(auction.path), (QList<int>{1, 2}));
    EXPECT_GT(rowCount(auction.path, QStringLiteral("All Bids"), QStringLiteral("[Round] = 2")), 0);
}

TEST(CompactCommand, ReportsAFailureWithItsExitCode)
{
    TempDir dir;
    QString output;
    EXPECT_EQ(runCli({QStringLiteral("compact"), dir.file(QStringLiteral("Auction4.mdb"))}, &output), 1);
    EXPECT_TRUE(output.contains(QStringLiteral("Error: 3024 ")));
    EXPECT_TRUE(output.contains(QStringLiteral("The database was left as it was.")));
    EXPECT_EQ(runCli({QStringLiteral("compact")}, &output), 2);
}
