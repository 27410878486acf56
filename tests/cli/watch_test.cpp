#include "cli/round_file_readiness.h"
#include "cli/round_watcher.h"
#include "cli/stop_signal.h"
#include "cli/watched_auction.h"
#include "common/paths.h"
#include "store/import/import_folder.h"
#include "store/import/import_routines.h"
#include "store/session.h"
#include "support/round_files.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <cstdio>

#include <grp.h>
#include <sys/types.h>
#include <unistd.h>

using namespace qv;
using namespace qv::test;

namespace {

QString runCli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QV_CLI_PATH), args);
    p.waitForFinished(120000);
    EXPECT_EQ(p.exitCode(), 0) << args.join(QLatin1Char(' ')).toStdString() << ": "
                               << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Auction 5 created from round 1 in its own folder, with rounds 2 to 4 kept
// aside until a test drops them into that folder.
struct LiveAuction {
    TempDir app, source, incoming;
    QString database = app.file(QStringLiteral("Auction5.mdb"));

    LiveAuction()
    {
        runCli({QStringLiteral("sample"), source.path(), QStringLiteral("--rounds"), QStringLiteral("4"),
                QStringLiteral("--licenses"), QStringLiteral("16"), QStringLiteral("--bidders"),
                QStringLiteral("4")});
        QFile::copy(source.file(QStringLiteral("05_001.zip")), incoming.file(QStringLiteral("05_001.zip")));
        runCli({QStringLiteral("--app-dir"), app.path(), QStringLiteral("create"),
                incoming.file(QStringLiteral("05_001.zip"))});
    }
    QByteArray round(int r) const
    {
        QFile f(source.file(QStringLiteral("05_00%1.zip").arg(r)));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    QString arrived(int r) const { return incoming.file(QStringLiteral("05_00%1.zip").arg(r)); }
    void drop(int r) const
    {
        QFile f(arrived(r) + QStringLiteral(".part"));
        f.open(QIODevice::WriteOnly);
        f.write(round(r));
        f.close();
        // Replaces a file of the same name in one step, as a download does.
        std::rename(QFile::encodeName(arrived(r) + QStringLiteral(".part")).constData(),
                    QFile::encodeName(arrived(r)).constData());
    }
    QString query(const QString& sql) const { return runCli({QStringLiteral("sql"), database, sql}); }
};

// quorvane-cli watch running on the auction, with what it printed so far.
struct Watch {
    QProcess process;
    QString out, err;

    explicit Watch(const LiveAuction& auction)
    {
        process.start(QStringLiteral(QV_CLI_PATH),
                      {QStringLiteral("--app-dir"), auction.app.path(), QStringLiteral("watch"),
                       auction.database, QStringLiteral("--folder"), auction.incoming.path(),
                       QStringLiteral("--interval"), QStringLiteral("0.2")});
        EXPECT_TRUE(process.waitForStarted());
    }
    ~Watch()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    void read()
    {
        out += QString::fromUtf8(process.readAllStandardOutput());
        err += QString::fromUtf8(process.readAllStandardError());
    }
    // Waits until text has been printed on either stream.
    bool waitFor(const QString& text, int ms = 15000)
    {
        QDeadlineTimer deadline(ms);
        while (!(out + err).contains(text) && !deadline.hasExpired()) {
            process.waitForReadyRead(100);
            read();
        }
        return (out + err).contains(text);
    }
    void idle(int ms)
    {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            process.waitForReadyRead(50);
            read();
        }
    }
    int terminate(int signal = SIGTERM)
    {
        ::kill(static_cast<pid_t>(process.processId()), signal);
        EXPECT_TRUE(process.waitForFinished(10000));
        read();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
};

// Each imported round prints its line of standings.
const QString imported2 = QStringLiteral("Round 2: ");
const QString imported3 = QStringLiteral("Round 3: ");

} // namespace

TEST(Watch, ImportsARoundOnceItIsCompleteAndGoesOnWithTheNext)
{
    LiveAuction auction;
    Watch watch(auction);
    ASSERT_TRUE(watch.waitFor(QStringLiteral("Waiting for ") + auction.arrived(2)));

    // Written in two halves with a pause of several intervals between them.
    const QByteArray file = auction.round(2);
    QFile out(auction.arrived(2));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(file.left(file.size() / 2));
    out.flush();
    watch.idle(1500);
    EXPECT_FALSE(watch.out.contains(QStringLiteral("Round 2"))) << watch.out.toStdString();
    EXPECT_EQ(auction.query(QStringLiteral("SELECT MAX([Round]) AS R FROM [sysRounds]")),
              QStringLiteral("R\n1\n"));
    out.write(file.mid(file.size() / 2));
    out.close();
    ASSERT_TRUE(watch.waitFor(imported2)) << watch.err.toStdString();

    // The next round is picked up without a restart.
    auction.drop(3);
    ASSERT_TRUE(watch.waitFor(imported3)) << watch.err.toStdString();
    watch.idle(800);
    EXPECT_EQ(watch.out.count(imported2), 1);
    EXPECT_EQ(watch.out.count(imported3), 1);
    EXPECT_EQ(watch.out.count(QLatin1Char('\n')), 2) << watch.out.toStdString();
    EXPECT_FALSE(watch.out.contains(QStringLiteral("Error")));
    static const QRegularExpression line(
        QStringLiteral("^Round 3: \\d+ new high bids?, \\d+ licences? changed hands, (\\d+ new holders?, "
                       ")?\\d+ withdrawals?, "
                       "net bids \\$[0-9,]+ "
                       "\\([+-]\\d+\\.\\d%\\)$"));
    EXPECT_TRUE(line.match(watch.out.section(QLatin1Char('\n'), 1, 1)).hasMatch()) << watch.out.toStdString();

    EXPECT_EQ(watch.terminate(), 0);
    EXPECT_EQ(auction.query(QStringLiteral("SELECT [Round] FROM [sysRounds] ORDER BY [Round]")),
              QStringLiteral("Round\n1\n2\n3\n"));
    // Round 2's bids once, as many as its file holds.
    const QString member = auction.source.file(QStringLiteral("05_002.mdb"));
    {
        QFile written(member);
        ASSERT_TRUE(written.open(QIODevice::WriteOnly));
        written.write(memberOf(auction.source.file(QStringLiteral("05_002.zip"))));
    }
    const QString count = QStringLiteral("SELECT COUNT(*) AS N FROM [All Bids] WHERE [Round] = 2");
    EXPECT_EQ(auction.query(count), runCli({QStringLiteral("sql"), member, count}));
    EXPECT_NE(auction.query(count), QStringLiteral("N\n0\n"));
}

TEST(Watch, ReportsADamagedFileOnceAndRetriesItWhenReplaced)
{
    LiveAuction auction;
    Watch watch(auction);
    ASSERT_TRUE(watch.waitFor(QStringLiteral("Waiting for ")));
    {
        QFile damaged(auction.arrived(2));
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write(auction.round(2).left(700));
        damaged.write(QByteArray(400, 'x'));
    }
    ASSERT_TRUE(watch.waitFor(QStringLiteral("will be tried again when it changes"), 10000));
    EXPECT_TRUE(watch.err.contains(QStringLiteral("Error:"))) << watch.err.toStdString();
    EXPECT_FALSE(watch.out.contains(QStringLiteral("Error:"))) << watch.out.toStdString();
    const QString reported = watch.err;
    watch.idle(1500); // unchanged: not tried again
    EXPECT_EQ(watch.err, reported);

    auction.drop(2);
    ASSERT_TRUE(watch.waitFor(imported2)) << watch.err.toStdString();
    EXPECT_EQ(watch.terminate(), 0);
    EXPECT_EQ(auction.query(QStringLiteral("SELECT [Round] FROM [sysRounds] ORDER BY [Round]")),
              QStringLiteral("Round\n1\n2\n"));
}

TEST(Watch, EndsCleanlyOnSignalsBetweenRounds)
{
    LiveAuction auction;
    {
        Watch watch(auction);
        ASSERT_TRUE(watch.waitFor(QStringLiteral("Waiting for ")));
        EXPECT_EQ(watch.terminate(), 0);
        EXPECT_TRUE(watch.err.contains(QStringLiteral("Stopped")));
    }
    {
        // A closed terminal ends it the same way.
        Watch watch(auction);
        ASSERT_TRUE(watch.waitFor(QStringLiteral("Waiting for ")));
        EXPECT_EQ(watch.terminate(SIGHUP), 0);
        EXPECT_TRUE(watch.err.endsWith(QStringLiteral("Stopped\n"))) << watch.err.toStdString();
    }
    // Rounds that arrive while no watch runs are imported at the next start.
    auction.drop(2);
    auction.drop(3);
    Watch again(auction);
    ASSERT_TRUE(again.waitFor(imported3)) << again.err.toStdString();
    ::kill(static_cast<pid_t>(again.process.processId()), SIGINT);
    ASSERT_TRUE(again.process.waitForFinished(10000));
    EXPECT_EQ(again.process.exitCode(), 0);
    EXPECT_EQ(auction.query(QStringLiteral("SELECT [Round] FROM [sysRounds] ORDER BY [Round]")),
              QStringLiteral("Round\n1\n2\n3\n"));
}

// While another program holds the auction's write lock the import fails for
// now: watch says so once, tries again after a wait, and imports the round
// once the auction is free, without the file changing.
TEST(Watch, RetriesAFailureThatCanPassAndSaysSoOnce)
{
    LiveAuction auction;
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(auction.database).constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    Watch watch(auction);
    ASSERT_TRUE(watch.waitFor(QStringLiteral("Waiting for ")));
    auction.drop(2);
    const QString forNow = QStringLiteral("Not imported for now: ") + auction.arrived(2);
    ASSERT_TRUE(watch.waitFor(forNow, 30000)) << watch.err.toStdString();
    // The first retry (two seconds on, five of them waiting for the lock) fails as well, quietly.
    watch.idle(9000);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    ASSERT_TRUE(watch.waitFor(imported2, 30000)) << watch.out.toStdString() << watch.err.toStdString();
    EXPECT_EQ(watch.err.count(QStringLiteral("Error:3045 ")), 1) << watch.err.toStdString();
    EXPECT_EQ(watch.err.count(forNow), 1);
    EXPECT_FALSE(watch.err.contains(QStringLiteral("will be tried again when it changes")));
    EXPECT_EQ(watch.terminate(), 0);
    EXPECT_EQ(auction.query(QStringLiteral("SELECT [Round] FROM [sysRounds] ORDER BY [Round]")),
              QStringLiteral("Round\n1\n2\n"));
}

// A round that arrives unreadable (mode 000) and is then made readable: the
// chmod changes neither its size nor its time, so it is retried on the waits
// of a failure that can pass, said once. The superuser reads every file: as
// root, the watch runs as the user nobody, on folders handed to that user.
TEST(Watch, RetriesARoundItMayNotReadYet)
{
    LiveAuction auction;
    const bool root = ::geteuid() == 0;
    const uid_t nobody = 65534;
    if (root)
        for (const QString& folder : {auction.app.path(), auction.incoming.path()}) {
            ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), nobody, nobody), 0);
            for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
                ASSERT_EQ(
                    ::chown(QFile::encodeName(folder + QLatin1Char('/') + name).constData(), nobody, nobody),
                    0);
        }
    auction.drop(2);
    ASSERT_TRUE(QFile::setPermissions(auction.arrived(2), QFileDevice::Permissions()));

    QProcess process;
    if (root)
        process.setChildProcessModifier([] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(99);
        });
    process.start(QStringLiteral(QV_CLI_PATH),
                  {QStringLiteral("--app-dir"), auction.app.path(), QStringLiteral("watch"), auction.database,
                   QStringLiteral("--folder"), auction.incoming.path(), QStringLiteral("--interval"),
                   QStringLiteral("0.2")});
    ASSERT_TRUE(process.waitForStarted());
    QString said;
    const auto waitFor = [&](const QString& text) {
        QDeadlineTimer deadline(30000);
        while (!said.contains(text) && !deadline.hasExpired() && process.state() == QProcess::Running) {
            process.waitForReadyRead(100);
            said += QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
        }
        return said.contains(text);
    };
    const QString forNow = QStringLiteral("Not imported for now: ") + auction.arrived(2);
    EXPECT_TRUE(waitFor(forNow)) << said.toStdString();
    ASSERT_TRUE(QFile::setPermissions(auction.arrived(2), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                              QFileDevice::ReadGroup |
                                                              QFileDevice::ReadOther));
    EXPECT_TRUE(waitFor(imported2)) << said.toStdString();
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    ASSERT_TRUE(process.waitForFinished(10000));
    said += QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(said.count(QStringLiteral("Error:75 ")), 1) << said.toStdString();
    EXPECT_EQ(said.count(forNow), 1);
    EXPECT_FALSE(said.contains(QStringLiteral("will be tried again when it changes")));
    EXPECT_FALSE(said.contains(QStringLiteral("inotify_add_watch"))) << said.toStdString();
    EXPECT_EQ(auction.query(QStringLiteral("SELECT [Round] FROM [sysRounds] ORDER BY [Round]")),
              QStringLiteral("Round\n1\n2\n"));
}

TEST(Watch, RetryWaitsGrowToAMinute)
{
    const std::pair<int, int> waits[] = {{1, 2000},  {2, 4000},  {5, 32000},
                                         {6, 60000}, {7, 60000}, {500, 60000}};
    for (const auto& [failures, ms] : waits)
        EXPECT_EQ(cli::retryDelayMs(failures), ms) << failures;
}

// A saved query that fails on a new round: its error and one line say so,
// the others are rebuilt, and watch goes on with the next round.
TEST(Watch, AFailedRebuildIsSaidAndTheWatchGoesOn)
{
    LiveAuction auction;
    const QString base = QStringLiteral("query");
    runCli({base, auction.database, QStringLiteral("add"), QStringLiteral("qa"), QStringLiteral("--select"),
            QStringLiteral("[Round]"), QStringLiteral("--into"), QStringLiteral("[QA]"),
            QStringLiteral("--from"), QStringLiteral("[Markets]"), QStringLiteral("--where"),
            QStringLiteral("1/([Round]-2) <> 0")});
    runCli({base, auction.database, QStringLiteral("add"), QStringLiteral("qb"), QStringLiteral("--select"),
            QStringLiteral("[Round]"), QStringLiteral("--into"), QStringLiteral("[QB]"),
            QStringLiteral("--from"), QStringLiteral("[Markets]")});
    Watch watch(auction);
    ASSERT_TRUE(watch.waitFor(QStringLiteral("Waiting for ")));
    auction.drop(2);
    const QString line = QStringLiteral("Not every user defined table could be rebuilt after this round");
    ASSERT_TRUE(watch.waitFor(line)) << watch.out.toStdString() << watch.err.toStdString();
    EXPECT_TRUE(
        (watch.out + watch.err).contains(QStringLiteral("The user defined table 'QA' was not rebuilt")))
        << watch.out.toStdString() << watch.err.toStdString();
    auction.drop(3);
    ASSERT_TRUE(watch.waitFor(imported3)) << watch.out.toStdString() << watch.err.toStdString();
    EXPECT_EQ(watch.terminate(), 0);
    EXPECT_EQ(auction.query(QStringLiteral("SELECT Max([Round]) AS M FROM [QB]")), QStringLiteral("M\n3\n"));
}

// A stop while the saved queries' tables are rebuilt after a round: the
// table in hand keeps its earlier rows and its listing, watch says so and
// ends with a failure.
TEST(Watch, AStopDuringTheRebuildKeepsTheTableAndFails)
{
    LiveAuction auction;
    // Slow enough to be caught in the middle with the rounds to come.
    runCli(
        {QStringLiteral("query"), auction.database, QStringLiteral("add"), QStringLiteral("slow"),
         QStringLiteral("--select"), QStringLiteral("Count(*) AS [N]"), QStringLiteral("--into"),
         QStringLiteral("[Slow]"), QStringLiteral("--from"),
         QStringLiteral("[All Bids] AS a, [All Bids] AS b, [All Bids] AS c, [Markets] AS d, [Markets] AS e"),
         QStringLiteral("--where"), QStringLiteral("a.[Round] + b.[Round] + c.[Round] + d.[Round] > 0")});
    runCli({QStringLiteral("query"), auction.database, QStringLiteral("run"), QStringLiteral("slow")});
    const QString slow = QStringLiteral("SELECT [N] FROM [Slow]");
    const QString before = auction.query(slow);
    Watch watch(auction);
    ASSERT_TRUE(watch.waitFor(QStringLiteral("Waiting for ")));
    auction.drop(2);
    // The round is in; the saved queries' tables are being rebuilt.
    ASSERT_TRUE(watch.waitFor(QStringLiteral("Auto-Rebuilding Customized Table(s)...Please Standby!")))
        << watch.err.toStdString();
    EXPECT_EQ(watch.terminate(), 1);
    EXPECT_TRUE(
        watch.err.contains(QStringLiteral("Rebuild Stopped: The rebuild of the user defined tables was "
                                          "stopped at 'Slow'")))
        << watch.err.toStdString();
    EXPECT_TRUE(watch.err.endsWith(QStringLiteral("Stopped\n"))) << watch.err.toStdString();
    EXPECT_EQ(auction.query(slow), before);
    EXPECT_EQ(
        auction.query(QStringLiteral("SELECT Count(*) AS N FROM [sysTables] WHERE [TableName] = 'Slow'")),
        QStringLiteral("N\n1\n"));
    EXPECT_EQ(auction.query(QStringLiteral("SELECT [Round] FROM [sysRounds] ORDER BY [Round]")),
              QStringLiteral("Round\n1\n2\n"));
}

// A stop request while a round is being copied rolls the whole round back; the
// same file imports whole afterwards.
TEST(Watch, StopDuringAnImportRollsTheRoundBack)
{
    LiveAuction auction;
    auction.drop(2);
    session().LastImportFile = auction.app.file(QStringLiteral("lastimp.inf"));
    qputenv("QUORVANE_HOME", auction.app.path().toLocal8Bit());
    cli::WatchedAuction watched(auction.database);
    watched.ensureOpen();
    EXPECT_EQ(watched.expectedRoundFile(auction.incoming.path()), auction.arrived(2));
    ScriptedPrompter quiet;
    EXPECT_EQ(NextRoundFileName(quiet), auction.arrived(2)); // the folder of the last import

    const auto roundTwoRows = [] {
        auto rs = session().CurrentDatabase->openRecordset(
            QStringLiteral("SELECT COUNT(*) AS N FROM [All Bids] WHERE [Round] = 2"));
        return rs->value(0).toInt();
    };
    cli::StopSignal::request();
    ScriptedPrompter interrupted;
    interrupted.files.push_back(auction.arrived(2));
    ImportHost host{interrupted};
    EXPECT_FALSE(ImportRound(host, false));
    cli::StopSignal::reset();
    EXPECT_EQ(roundTwoRows(), 0);
    EXPECT_EQ(watched.expectedRoundFile(auction.incoming.path()), auction.arrived(2));

    ScriptedPrompter again;
    again.files.push_back(auction.arrived(2));
    ImportHost second{again};
    EXPECT_TRUE(ImportRound(second, false));
    EXPECT_GT(roundTwoRows(), 0);
    EXPECT_EQ(watched.expectedRoundFile(auction.incoming.path()), auction.arrived(3));
    CloseAuctionDatabase();
}

TEST(RoundFileReadiness, WaitsForAStableReadableFileAndNeverTakesTheSameOneTwice)
{
    cli::RoundFileReadiness readiness(1000, 5000);
    using V = cli::RoundFileReadiness::Verdict;
    const QString path = QStringLiteral("/in/05_002.zip");
    bool readable = false;
    const auto zip = [&] { return readable; };
    EXPECT_EQ(readiness.observe(path, {}, 0, zip), V::Absent);
    EXPECT_EQ(readiness.observe(path, {100, 1}, 0, zip), V::Wait);
    EXPECT_EQ(readiness.observe(path, {200, 2}, 900, zip), V::Wait);  // still growing
    EXPECT_EQ(readiness.observe(path, {200, 2}, 1500, zip), V::Wait); // settle time not over
    EXPECT_EQ(readiness.observe(path, {200, 2}, 2000, zip), V::Wait); // stable, not a whole zip
    readable = true;
    EXPECT_EQ(readiness.observe(path, {200, 2}, 2100, zip), V::Import);
    readiness.imported();
    EXPECT_EQ(readiness.observe(path, {200, 2}, 9000, zip), V::Skip);
    // The next round's file may be as large and as old as the one just taken.
    const QString twin = QStringLiteral("/in/05_003.zip");
    EXPECT_EQ(readiness.observe(twin, {200, 2}, 9000, zip), V::Wait);
    EXPECT_EQ(readiness.observe(twin, {200, 2}, 10000, zip), V::Import);

    // Stable but never readable: imported after the grace time so its error is
    // reported, then left alone until it changes.
    readable = false;
    const QString next = QStringLiteral("/in/05_004.zip");
    EXPECT_EQ(readiness.observe(next, {50, 1}, 10000, zip), V::Wait);
    EXPECT_EQ(readiness.observe(next, {50, 1}, 14000, zip), V::Wait);
    EXPECT_EQ(readiness.observe(next, {50, 1}, 15000, zip), V::Import);
    readiness.failed();
    EXPECT_EQ(readiness.observe(next, {50, 1}, 30000, zip), V::Skip);
    readable = true;
    EXPECT_EQ(readiness.observe(next, {60, 3}, 31000, zip), V::Wait);
    EXPECT_EQ(readiness.observe(next, {60, 3}, 32000, zip), V::Import);
}

TEST(Watch, IntervalsOutsideAFiftiethOfASecondToADayAreRefused)
{
    // A refused interval is a usage error (2); an accepted one goes on to the
    // auction, missing here (1).
    const struct {
        const char* seconds;
        int exitCode;
    } cases[] = {{"nan", 2},   {"inf", 2},  {"-1", 2},    {"0", 2},
                 {"0.049", 2}, {"0.05", 1}, {"86400", 1}, {"86400.5", 2}};
    TempDir dir;
    for (const auto& c : cases) {
        QProcess p;
        p.start(QStringLiteral(QV_CLI_PATH),
                {QStringLiteral("watch"), dir.file(QStringLiteral("Auction5.mdb")),
                 QStringLiteral("--interval"), QLatin1String(c.seconds)});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), c.exitCode) << c.seconds;
    }
}
