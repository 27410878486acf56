// bench_engine: the engine adapter against the sqlite3 shell on the large
// 250-round auction 5: copying a round's tables, per-round selects opened as
// record sets, and the whole [Markets] table in memory.
#include "bench_support.h"

#include "common/error.h"
#include "store/database.h"
#include "store/import/round_archive.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTextStream>

using namespace qv;
using namespace qv::bench;

namespace {

QTextStream out(stdout);

void report(const QString& what, double seconds, double floor)
{
    out << what << ": " << seconds << " s, floor " << floor << " s, ratio " << seconds / floor
        << " (aim within 1.5x)" << Qt::endl;
}

// (a) One round's tables copied by the adapter's INSERT INTO ... IN, run on
// the round database, inside one transaction of the auction.
double adapterCopy(const QString& auctionPath, const QString& roundPath, const QStringList& tables)
{
    auto auction = store::Database::open(auctionPath);
    auto roundDb = store::Database::open(roundPath);
    settle();
    return timeIt([&] {
        auction->beginTrans();
        for (const QString& t : tables)
            roundDb->execute(QStringLiteral("INSERT INTO [") + t + QStringLiteral("] IN \"") +
                             auction->path() + QStringLiteral("\" SELECT * FROM [") + t + QLatin1Char(']'));
        auction->commitTrans();
    });
}

void benchCopy(const QString& auction250, const QString& work, const QStringList& tables)
{
    const QString round = extractRoundDatabase(largeRound251Zip(), QStringLiteral("05_251.mdb"), work);
    const QString target = work + QStringLiteral("/copy.mdb");
    std::vector<double> ours, floors;
    for (int run = 0; run < 3; ++run) {
        copyFresh(auction250, target);
        ours.push_back(adapterCopy(target, round, tables));
        copyFresh(auction250, target);
        floors.push_back(runShell(target, roundCopyScript(round, tables, 251, false, false)));
    }
    report(QStringLiteral("(a) copy one round's tables (median of 3)"), median(ours), median(floors));
    QFile::remove(target);
    QFile::remove(round);
}

// (b) A per-round select opened as a record set, against the shell.
void benchSelect(const QString& auctionPath, const QString& dialectSql, const QString& shellSql)
{
    auto db = store::Database::open(auctionPath);
    std::vector<double> ours, floors;
    int rows = 0;
    for (int run = 0; run < 5; ++run) {
        std::unique_ptr<store::Recordset> set;
        ours.push_back(timeIt([&] { set = db->openRecordset(dialectSql); }));
        rows = set->recordCount();
        floors.push_back(runShell(auctionPath, shellSql + QStringLiteral(";\n")));
    }
    out << "    (the shell's start-up alone: " << runShell(auctionPath, QStringLiteral(";\n")) << " s)"
        << Qt::endl;
    report(QStringLiteral("(b) ") + dialectSql + QStringLiteral(" [") + QString::number(rows) +
               QStringLiteral(" rows] (median of 5)"),
           median(ours), median(floors));
}

// Runs in a child process so that its peak memory is its own.
int wholeMarketsChild(const QString& auctionPath)
{
    auto db = store::Database::open(auctionPath);
    const long before = peakResidentKiB();
    // The set outlives the timer: freeing it is not part of opening it.
    std::unique_ptr<store::Recordset> set;
    const double seconds = timeIt([&] { set = db->openRecordset(QStringLiteral("[Markets]")); });
    const int rows = set->recordCount();
    out << seconds << ' ' << before << ' ' << peakResidentKiB() << ' ' << rows << Qt::endl;
    return 0;
}

void benchWholeMarkets(const QString& self, const QString& auctionPath)
{
    QProcess child;
    child.start(self, {QStringLiteral("--whole-markets"), auctionPath});
    child.waitForFinished(-1);
    const QStringList parts = QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char(' '));
    if (parts.size() < 4)
        fail(QStringLiteral("the whole-table child failed: ") +
             QString::fromUtf8(child.readAllStandardError()));
    const double seconds = parts[0].toDouble();
    const long before = parts[1].toLong(), after = parts[2].toLong();
    const long rows = parts[3].trimmed().toLong();

    // The shell's time and peak memory for the same rows, through /usr/bin/time.
    QProcess shell;
    shell.setStandardOutputFile(QProcess::nullDevice());
    double floor = 0;
    floor = timeIt([&] {
        shell.start(QStringLiteral("/usr/bin/time"),
                    {QStringLiteral("-f"), QStringLiteral("%M"), QStringLiteral("sqlite3"), auctionPath,
                     QStringLiteral("SELECT * FROM \"Markets\";")});
        shell.waitForFinished(-1);
    });
    const QStringList err =
        QString::fromUtf8(shell.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const long shellPeak = err.isEmpty() ? -1 : err.last().toLong();
    report(QStringLiteral("(c) open [Markets] whole [") + QString::number(rows) + QStringLiteral(" rows]"),
           seconds, floor);
    out << "    peak resident memory: " << before / 1024 << " MiB before, " << after / 1024 << " MiB after (+"
        << (after - before) / 1024 << " MiB, "
        << double(after - before) * 1024.0 / double(rows > 0 ? rows : 1)
        << " bytes a row); sqlite3 shell peak " << shellPeak / 1024 << " MiB" << Qt::endl;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        if (args.size() == 3 && args[1] == QLatin1String("--whole-markets"))
            return wholeMarketsChild(args[2]);
        const QString auction250 = largeAuction250();
        const QStringList tables = suppliedTables(auction250);
        const QString work = cacheFolder() + QStringLiteral("/bench-engine");
        QDir(work).removeRecursively();
        QDir().mkpath(work);

        benchCopy(auction250, work, tables);

        const QString reads = work + QStringLiteral("/reads.mdb");
        copyFresh(auction250, reads);
        benchSelect(
            reads, QStringLiteral("SELECT * FROM [Markets] WHERE [Round] = 125 Order By [License Name]"),
            QStringLiteral("SELECT * FROM \"Markets\" WHERE \"Round\" = 125 ORDER BY \"License Name\""));
        benchSelect(reads,
                    QStringLiteral("SELECT * FROM [All Bids] WHERE [Round] = 125 Order By [Market], [Block], "
                                   "[Submarket]"),
                    QStringLiteral("SELECT * FROM \"All Bids\" WHERE \"Round\" = 125 ORDER BY \"Market\", "
                                   "\"Block\", \"Submarket\""));
        benchWholeMarkets(QCoreApplication::applicationFilePath(), reads);
        QDir(work).removeRecursively();
    } catch (const Error& e) {
        fail(QStringLiteral("error %1: %2").arg(e.number()).arg(e.description()));
    }
    return 0;
}
