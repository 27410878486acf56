// bench_import: batch import of the large auction 5 (rounds 1..250) and the
// import of round 251 into it, each against the sqlite3 shell copying the
// same rows (the floor).
#include "bench_support.h"
#include "import_stages.h"

#include "common/error.h"
#include "common/paths.h"
#include "store/database.h"
#include "store/import/import_routines.h"
#include "store/import/round_archive.h"
#include "store/import/round_copy.h"
#include "store/session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

using namespace qv;
using namespace qv::bench;

namespace {

QTextStream out(stdout);

QString roundName(int round)
{
    return QStringLiteral("05_%1").arg(round, 3, 10, QLatin1Char('0'));
}

void report(const char* what, double seconds, double floor, const char* aim)
{
    out << what << ": " << seconds << " s, floor " << floor << " s, ratio " << seconds / floor << " (aim "
        << aim << ")" << Qt::endl;
}

double timeBatch(const QString& rounds, const QString& app)
{
    QDir(app).removeRecursively();
    useApplicationFolder(app);
    SilentPrompter prompter;
    prompter.file = rounds + QStringLiteral("/05_001.zip");
    ImportHost host{prompter};
    bool ok = false;
    settle();
    const double seconds = timeIt([&] { ok = BatchImportAuction(host); });
    if (!ok)
        fail(QStringLiteral("batch import failed"), &prompter);
    CloseAuctionDatabase();
    storeLargeAuction250(app + QStringLiteral("/Auction5.mdb"));
    return seconds;
}

// The floor: one sqlite3 process that keeps the auction's [Round] indexes,
// then for each round unzips its database, attaches it and copies every
// supplied table in one transaction. Round 1, which creation turns into the
// auction, is unzipped before the clock starts.
double timeBatchFloor(const QString& rounds, const QString& work, const QStringList& tables,
                      const QString& indexes)
{
    const QString target = work + QStringLiteral("/floor-batch.db");
    QFile::remove(target);
    const QString first =
        extractRoundDatabase(rounds + QStringLiteral("/05_001.zip"), QStringLiteral("05_001.mdb"), work);
    copyFresh(first, target);
    QFile::remove(first);
    QString script =
        indexes + QStringLiteral("CREATE TABLE sysRounds (Round);\nINSERT INTO sysRounds VALUES (1);\n");
    const QString scratch = work + QStringLiteral("/floor-round.mdb");
    for (int r = 2; r <= 250; ++r)
        script += roundZipCopyScript(rounds + QLatin1Char('/') + roundName(r) + QStringLiteral(".zip"),
                                     scratch, tables, r, false, true);
    const double seconds = runShell(target, script);
    QFile::remove(scratch);
    QFile::remove(target);
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    try {
        const QString rounds = largeSampleFolder();
        const QString work = cacheFolder() + QStringLiteral("/bench-import");
        QDir(work).removeRecursively();
        QDir().mkpath(work);

        // (a) Batch import of rounds 1..250.
        const double batch = timeBatch(rounds, work + QStringLiteral("/app-batch"));
        const QString auction250 = largeAuction250();
        const QStringList tables = suppliedTables(auction250);
        const double batchFloor = timeBatchFloor(rounds, work, tables, roundIndexScript(auction250));
        report("Batch import, rounds 1..250", batch, batchFloor, "1.3x the floor");

        // (b) ImportRound of round 251, each run on a fresh copy.
        const QString app251 = work + QStringLiteral("/app-251");
        std::vector<double> singles;
        for (int run = 0; run < 3; ++run) {
            useApplicationFolder(app251);
            const QString target = app251 + QStringLiteral("/Auction5.mdb");
            copyFresh(auction250, target);
            OpenAuctionDatabase(target);
            SilentPrompter prompter;
            prompter.file = largeRound251Zip();
            ImportHost host{prompter};
            bool ok = false;
            settle();
            singles.push_back(timeIt([&] { ok = ImportRound(host, false); }));
            if (!ok)
                fail(QStringLiteral("import of round 251 failed"), &prompter);
            CloseAuctionDatabase();
        }
        // (c) The floor: the shell unzipping and copying round 251 into a fresh copy.
        const QString scratch = work + QStringLiteral("/floor-round.mdb");
        std::vector<double> floors;
        for (int run = 0; run < 3; ++run) {
            const QString target = work + QStringLiteral("/floor-251.db");
            copyFresh(auction250, target);
            floors.push_back(
                runShell(target, roundZipCopyScript(largeRound251Zip(), scratch, tables, 251, true, true)));
        }
        report("Import of round 251 (median of 3)", median(singles), median(floors), "1.3x the floor");

        // Where a single import spends its time.
        useApplicationFolder(app251);
        copyFresh(auction250, app251 + QStringLiteral("/Auction5.mdb"));
        OpenAuctionDatabase(app251 + QStringLiteral("/Auction5.mdb"));
        out << "  stages of one round import: " << importStages(largeRound251Zip(), 251) << Qt::endl;
        CloseAuctionDatabase();
        QDir(work).removeRecursively();
    } catch (const Error& e) {
        fail(QStringLiteral("error %1: %2").arg(e.number()).arg(e.description()));
    }
    return 0;
}
