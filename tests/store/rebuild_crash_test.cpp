// Real quorvane-cli processes killed at random points while a saved query's
// table is replaced, by `query run` and by the rebuild after an import: the
// table is always whole, as it was or as rebuilt, and listed once.
#include "store/database.h"
#include "store/sample/sample_auction.h"
#include "support/cli_run.h"
#include "support/statement_column.h"
#include "support/temp_dir.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <random>

using namespace qv::test;

TEST(RebuildCrash, AKilledRebuildLeavesTheTableWholeAndListedOnce)
{
    TempDir files, app;
    qv::store::sample::SampleOptions o;
    o.rounds = 2;
    o.licenses = 16;
    o.bidders = 4;
    o.seed = 5;
    qv::store::sample::writeSampleAuction(files.path(), o);
    const QString auction = app.file(QStringLiteral("Auction5.mdb"));
    const QString round2 = files.file(QStringLiteral("05_002.zip"));
    const QStringList inApp{QStringLiteral("--app-dir"), app.path()};
    ASSERT_EQ(
        runCli(inApp + QStringList{QStringLiteral("create"), files.file(QStringLiteral("05_001.zip"))}).code,
        0);
    ASSERT_EQ(runCli(inApp + QStringList{QStringLiteral("import"), auction, round2}).code, 0);
    // Two conditions that make the same table in about the same time, with counts of their own.
    const QString conditions[2] = {QStringLiteral("a.[Round] + b.[Round] + d.[Round] > 0"),
                                   QStringLiteral("a.[Round] + b.[Round] + d.[Round] > 4")};
    const QStringList run{QStringLiteral("query"), auction, QStringLiteral("run"), QStringLiteral("slow")};
    ASSERT_EQ(runCli({QStringLiteral("query"), auction, QStringLiteral("add"), QStringLiteral("slow"),
                      QStringLiteral("--select"), QStringLiteral("Count(*) AS [N]"), QStringLiteral("--into"),
                      QStringLiteral("[Slow]"), QStringLiteral("--from"),
                      QStringLiteral("[All Bids] AS a, [All Bids] AS b, [All Bids] AS c, [Markets] AS d"),
                      QStringLiteral("--where"), conditions[0]})
                  .code,
              0);
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(runCli(run).code, 0);
    const int runMicroseconds = static_cast<int>(timer.nsecsElapsed() / 1000);

    // The auction as the next run opens it: a journal left by a killed run is rolled back first.
    const auto column = [&auction](const QString& sql) {
        return qv::test::statementColumn(*qv::store::Database::open(auction), sql);
    };
    QStringList counts;
    for (const QString& c : conditions)
        counts << column(
            QStringLiteral("SELECT Count(*) FROM [All Bids] AS a, [All Bids] AS b, [All Bids] AS c, "
                           "[Markets] AS d WHERE ") +
            c);
    ASSERT_NE(counts[0], counts[1]);

    std::mt19937 random(20261207);
    int condition = 0;
    for (int attempt = 0; attempt < 12; ++attempt) {
        const QString before = column(QStringLiteral("SELECT [N] FROM [Slow]")).value(0);
        condition = 1 - condition;
        qv::store::Database::open(auction)->execute(
            QStringLiteral("UPDATE [sysQueryBuilder] SET [Txt3] = '%1'").arg(conditions[condition]));
        // Every other time the rebuild after importing round 2 again.
        const QStringList args =
            attempt % 2 ? run : inApp + QStringList{QStringLiteral("import"), auction, round2};
        const int delay = std::uniform_int_distribution<int>(0, runMicroseconds * 3 / 2)(random);
        killCliAfter(args, delay);
        const std::string when =
            args[attempt % 2 ? 0 : 2].toStdString() + " killed after " + std::to_string(delay) + " us";

        const QStringList now = column(QStringLiteral("SELECT [N] FROM [Slow]"));
        ASSERT_EQ(now.size(), 1) << when;
        EXPECT_TRUE(now[0] == before || now[0] == counts[condition]) << when << ": " << now[0].toStdString();
        EXPECT_EQ(
            column(QStringLiteral("SELECT [TableName] FROM [sysTables] WHERE [TableName] = 'Slow'")).size(),
            1)
            << when;
        EXPECT_EQ(qv::store::Database::open(auction)->tableNames().filter(QStringLiteral("qv_build")),
                  QStringList())
            << when;
        EXPECT_EQ(column(QStringLiteral("SELECT [Round] FROM [sysRounds] ORDER BY [Round]")),
                  (QStringList{QStringLiteral("1"), QStringLiteral("2")}))
            << when;
    }
    // The next run completes.
    ASSERT_EQ(runCli(run).code, 0);
    EXPECT_EQ(column(QStringLiteral("SELECT [N] FROM [Slow]")), QStringList{counts[condition]});
}
