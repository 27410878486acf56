// Real quorvane-cli processes killed at random points of their imports, and
// two of them on one auction at once: after each, the auction reads whole,
// every round is in every table wholly or not at all, and the next import
// completes.
#include "store/sample/sample_auction.h"
#include "support/qt_printers.h"
#include "support/temp_dir.h"

#include "support/cli_run.h"
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>

#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <random>

using namespace qv::test;

namespace {

const int Rounds = 6;

CliRun cli(const QStringList& args)
{
    return runCli(args);
}

// Rows per table and round: table -> round -> rows.
using RoundRows = QMap<QString, QMap<int, int>>;

// Reads an auction as the next run would open it (a journal left by a killed
// run is rolled back). Fills what it finds; returns false with a reason when
// the file does not read whole.
bool readAuction(const QString& path, RoundRows& rows, QList<int>& rounds, std::string& why)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        why = "cannot open";
        sqlite3_close(db);
        return false;
    }
    auto query = [&](const QString& sql, auto onRow) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &s, nullptr) != SQLITE_OK) {
            why = sql.toStdString() + ": " + sqlite3_errmsg(db);
            return false;
        }
        while (sqlite3_step(s) == SQLITE_ROW)
            onRow(s);
        sqlite3_finalize(s);
        return true;
    };
    QStringList verdict;
    QStringList tables;
    bool ok =
        query(QStringLiteral("PRAGMA integrity_check"),
              [&](sqlite3_stmt* s) {
                  verdict << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
              }) &&
        query(QStringLiteral("SELECT \"Round\" FROM sysRounds ORDER BY 1"),
              [&](sqlite3_stmt* s) { rounds << sqlite3_column_int(s, 0); }) &&
        query(QStringLiteral("SELECT TableName FROM sysSuppliedTables"), [&](sqlite3_stmt* s) {
            tables << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
        });
    if (ok && verdict != QStringList{QStringLiteral("ok")}) {
        why = "integrity: " + verdict.join(QLatin1Char(' ')).toStdString();
        ok = false;
    }
    for (const QString& t : tables) {
        if (!ok || t == QLatin1String("Withdrawal Statistics"))
            continue;
        QString quoted = t;
        quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        ok = query(QStringLiteral("SELECT \"Round\", count(*) FROM \"") + quoted +
                       QStringLiteral("\" GROUP BY 1"),
                   [&](sqlite3_stmt* s) { rows[t][sqlite3_column_int(s, 0)] = sqlite3_column_int(s, 1); });
    }
    sqlite3_close(db);
    return ok;
}

class ImportCrash : public ::testing::Test {
protected:
    void SetUp() override
    {
        qv::store::sample::SampleOptions o;
        o.rounds = Rounds;
        o.licenses = 60;
        o.bidders = 8;
        o.seed = 11;
        qv::store::sample::writeSampleAuction(files.path(), o);
        QElapsedTimer timer;
        timer.start();
        ASSERT_EQ(cli(dir(reference) + QStringList{QStringLiteral("batch"), zip(1)}).code, 0);
        batchMicroseconds = static_cast<int>(timer.nsecsElapsed() / 1000);
        QList<int> rounds;
        std::string why;
        ASSERT_TRUE(readAuction(reference.file(QStringLiteral("Auction5.mdb")), whole, rounds, why)) << why;
        ASSERT_EQ(rounds.size(), Rounds);
    }

    static QStringList dir(const TempDir& app) { return {QStringLiteral("--app-dir"), app.path()}; }
    QString zip(int round) const
    {
        return files.file(QStringLiteral("05_%1.zip").arg(round, 3, 10, QLatin1Char('0')));
    }
    QString auction() const { return app.file(QStringLiteral("Auction5.mdb")); }

    // The auction reads whole and holds each recorded round completely and
    // nothing of any other. Returns the rounds recorded.
    QList<int> expectWholeRounds(const std::string& when)
    {
        RoundRows rows;
        QList<int> rounds;
        std::string why;
        EXPECT_TRUE(readAuction(auction(), rows, rounds, why)) << when << ": " << why;
        for (auto t = whole.constBegin(); t != whole.constEnd(); ++t) {
            for (int r = 1; r <= Rounds; ++r) {
                const int expected = rounds.contains(r) ? t.value().value(r) : 0;
                EXPECT_EQ(rows.value(t.key()).value(r), expected)
                    << when << ": table " << t.key().toStdString() << ", round " << r;
            }
        }
        return rounds;
    }

    // What the application folder holds once the next run has cleared up
    // after a killed one.
    QStringList appFiles() const
    {
        return QDir(app.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    const QStringList cleanFolder{QStringLiteral("Auction5.mdb"), QStringLiteral("lastimp.inf")};

    TempDir files, reference, app;
    RoundRows whole;
    int batchMicroseconds = 0;
    std::mt19937 random{20261207};
};

} // namespace

TEST_F(ImportCrash, AKilledBatchLeavesTheOldAuctionOrWholeRounds)
{
    for (int run = 0; run < 16; ++run) {
        const int delay = std::uniform_int_distribution<int>(0, batchMicroseconds * 11 / 10)(random);
        killCliAfter(dir(app) + QStringList{QStringLiteral("--yes"), QStringLiteral("batch"), zip(1)}, delay);
        const std::string when = "batch killed after " + std::to_string(delay) + " us";
        if (!QFile::exists(auction())) {
            // Killed before the new auction was moved into place: a batch now completes.
            const CliRun next =
                cli(dir(app) + QStringList{QStringLiteral("--yes"), QStringLiteral("batch"), zip(1)});
            EXPECT_EQ(next.code, 0) << when << ": " << next.out.toStdString();
        }
        const QList<int> rounds = expectWholeRounds(when);
        ASSERT_FALSE(rounds.isEmpty()) << when;
        const int next = rounds.last() < Rounds ? rounds.last() + 1 : Rounds;
        const CliRun imported = cli(dir(app) + QStringList{QStringLiteral("import"), auction(), zip(next)});
        EXPECT_EQ(imported.code, 0) << when << ": " << imported.out.toStdString();
        EXPECT_TRUE(expectWholeRounds(when + ", then imported").contains(next));
        EXPECT_EQ(appFiles(), cleanFolder) << when;
    }
}

TEST_F(ImportCrash, AKilledImportLeavesTheRoundWhollyInOrOut)
{
    ASSERT_EQ(cli(dir(app) + QStringList{QStringLiteral("create"), zip(1)}).code, 0);
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(cli(dir(app) + QStringList{QStringLiteral("import"), auction(), zip(2)}).code, 0);
    const int importMicroseconds = static_cast<int>(timer.nsecsElapsed() / 1000);
    for (int run = 0; run < 20; ++run) {
        const int round = std::uniform_int_distribution<int>(2, Rounds)(random);
        const int delay = std::uniform_int_distribution<int>(0, importMicroseconds * 11 / 10)(random);
        killCliAfter(dir(app) + QStringList{QStringLiteral("import"), auction(), zip(round)}, delay);
        const std::string when =
            "import of round " + std::to_string(round) + " killed after " + std::to_string(delay) + " us";
        expectWholeRounds(when);
        const CliRun again = cli(dir(app) + QStringList{QStringLiteral("import"), auction(), zip(round)});
        EXPECT_EQ(again.code, 0) << when << ": " << again.out.toStdString();
        EXPECT_TRUE(expectWholeRounds(when + ", then imported").contains(round));
        EXPECT_EQ(appFiles(), cleanFolder) << when;
    }
}

TEST_F(ImportCrash, TwoImportsAtOnceBothEndWellOrOneIsToldTheAuctionIsInUse)
{
    ASSERT_EQ(cli(dir(app) + QStringList{QStringLiteral("create"), zip(1)}).code, 0);
    for (const auto& pair : {std::pair{2, 3}, std::pair{4, 4}, std::pair{5, 6}}) {
        QProcess first, second;
        first.start(QStringLiteral(QV_CLI_PATH),
                    dir(app) + QStringList{QStringLiteral("import"), auction(), zip(pair.first)});
        second.start(QStringLiteral(QV_CLI_PATH),
                     dir(app) + QStringList{QStringLiteral("import"), auction(), zip(pair.second)});
        ASSERT_TRUE(first.waitForFinished(60000) && second.waitForFinished(60000));
        const QList<int> rounds = expectWholeRounds("two imports at once");
        for (const auto& [p, round] : {std::pair{&first, pair.first}, std::pair{&second, pair.second}}) {
            const QString out = QString::fromUtf8(p->readAllStandardOutput());
            ASSERT_EQ(p->exitStatus(), QProcess::NormalExit);
            if (p->exitCode() == 0)
                EXPECT_TRUE(rounds.contains(round)) << out.toStdString();
            else
                EXPECT_TRUE(out.contains(QStringLiteral("in use by another program"))) << out.toStdString();
        }
    }
}
