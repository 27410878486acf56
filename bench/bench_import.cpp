// bench_import [large|very-large|50] [--old-index] [--one-round [RUNS]]: batch import of a
// generated auction 5 (by default the large one, rounds 1..250) and the
// import of its next round into it, each against SQLite doing the same
// unzip, attach, copy and record (the floor): the batch against the sqlite3
// shell, the one round in this same process. With --old-index the auctions
// (ours and the floor's) also carry the [Round] index of [Markets] that
// auctions were once given, to measure what it cost. With --one-round only the
// one-round import is timed, RUNS times (5), on the cached batch-built auction.
#include "bench_support.h"
#include "floor_in_process.h"
#include "import_stages.h"

#include "common/error.h"
#include "store/database.h"
#include "store/import/import_routines.h"
#include "store/import/round_archive.h"
#include "store/session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <sqlite3.h>

using namespace qv;
using namespace qv::bench;

namespace {

QTextStream out(stdout);

const char* const OldIndex = "CREATE INDEX IF NOT EXISTS \"qv_round:Markets\" ON \"Markets\" (\"Round\");\n";

struct Cost {
    double wall = 0;
    double processor = 0;
};

QString roundName(int round)
{
    return QStringLiteral("05_%1").arg(round, 3, 10, QLatin1Char('0'));
}

void report(const char* what, const Cost& ours, const Cost& floor, const Cost& checked)
{
    out << what << ": ours " << ours.wall << " s (processor " << ours.processor << " s); floor " << floor.wall
        << " s (" << floor.processor << " s); floor + checks " << checked.wall << " s (" << checked.processor
        << " s); ratio to floor + checks " << ours.wall / checked.wall << " wall, "
        << ours.processor / checked.processor << " processor" << Qt::endl;
}

// Gives the auction the old index when the batch reports its first round
// after creation, before anything is copied into it.
class OldIndexPrompter : public SilentPrompter {
public:
    bool pending = false;
    void setStatus(int, const QString&) override
    {
        if (pending && session().CurrentDatabase) {
            pending = false;
            sqlite3_exec(session().CurrentDatabase->handle(), OldIndex, nullptr, nullptr, nullptr);
        }
    }
};

Cost timeBatch(const QString& rounds, const QString& app, bool oldIndex)
{
    QDir(app).removeRecursively();
    useApplicationFolder(app);
    OldIndexPrompter prompter;
    prompter.pending = oldIndex;
    prompter.file = rounds + QStringLiteral("/05_001.zip");
    ImportHost host{prompter};
    bool ok = false;
    settle();
    Cost cost;
    const double before = processorSeconds();
    cost.wall = timeIt([&] { ok = BatchImportAuction(host); });
    cost.processor = processorSeconds() - before;
    if (!ok || prompter.pending)
        fail(QStringLiteral("batch import failed"), &prompter);
    CloseAuctionDatabase();
    return cost;
}

// The floor: one sqlite3 process that keeps the auction's [Round] indexes,
// then for each round unzips its database, attaches it, checks it when
// asked and copies every supplied table in one transaction. Round 1, which
// creation turns into the auction, is unzipped before the clock starts.
Cost timeBatchFloor(const QString& rounds, int last, const QString& work, const QStringList& tables,
                    const QString& indexes, const QStringList& numeric)
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
    for (int r = 2; r <= last; ++r)
        script += roundZipCopyScript(rounds + QLatin1Char('/') + roundName(r) + QStringLiteral(".zip"),
                                     scratch, tables, r, false, true,
                                     numeric.isEmpty() ? QString() : roundCheckScript(tables, numeric, r));
    Cost cost;
    const double before = childProcessorSeconds();
    cost.wall = runShell(target, script);
    cost.processor = childProcessorSeconds() - before;
    QFile::remove(scratch);
    QFile::remove(target);
    return cost;
}

// A fresh copy of the auction, with the old index when asked.
void freshCopy(const QString& from, const QString& to, bool oldIndex)
{
    copyFresh(from, to);
    if (!oldIndex)
        return;
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(to).constData(), &db);
    sqlite3_exec(db, OldIndex, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

Cost median(const std::vector<Cost>& runs)
{
    std::vector<double> wall, processor;
    for (const Cost& c : runs) {
        wall.push_back(c.wall);
        processor.push_back(c.processor);
    }
    return {bench::median(wall), bench::median(processor)};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    const bool oldIndex = arguments.removeAll(QStringLiteral("--old-index")) > 0;
    const qsizetype oneRound = arguments.indexOf(QStringLiteral("--one-round"));
    int runs = 5;
    if (oneRound >= 0) {
        runs = arguments.value(oneRound + 1, QStringLiteral("5")).toInt();
        arguments.remove(oneRound, oneRound + 1 < arguments.size() ? 2 : 1);
    }
    const SampleSize size = sampleSizeNamed(arguments.value(0));
    const int next = size.rounds + 1;
    try {
        const QString rounds = sampleFolder(size);
        const QString work = cacheFolder() + QStringLiteral("/bench-import");
        QDir(work).removeRecursively();
        QDir().mkpath(work);
        out << "The " << size.name << " auction: " << size.licences << " licences, " << size.bidders
            << " bidders, " << size.rounds << " rounds (" << qint64(size.licences) * size.rounds
            << " rows of [Markets])" << (oldIndex ? ", with the old [Round] index of [Markets]" : "")
            << Qt::endl;

        // (a) Batch import of every round, then the shell's floors.
        const QString batchApp = work + QStringLiteral("/app-batch");
        const QString built = oneRound >= 0 ? builtAuction(size) : batchApp + QStringLiteral("/Auction5.mdb");
        if (oneRound < 0) {
            const Cost batch = timeBatch(rounds, batchApp, oldIndex);
            if (!oldIndex)
                storeBuiltAuction(size, built);
            const QStringList tables = suppliedTables(built);
            const QString indexes = roundIndexScript(built);
            const Cost batchFloor = timeBatchFloor(rounds, size.rounds, work, tables, indexes, {});
            const Cost batchChecked =
                timeBatchFloor(rounds, size.rounds, work, tables, indexes, numericColumns(built));
            report("Batch import", batch, batchFloor, batchChecked);
            out << "  processor seconds per 100,000 rows of [Markets]: ours "
                << batch.processor * 1e5 / (double(size.licences) * size.rounds) << ", floor + checks "
                << batchChecked.processor * 1e5 / (double(size.licences) * size.rounds) << Qt::endl;
        }
        const QStringList tables = suppliedTables(built);
        const QStringList numeric = numericColumns(built);

        // (b) The next round imported into the batch-built auction, each run
        // on a fresh copy, alternated with the floor doing the same in this
        // process: without and with the checks.
        const QString appOne = work + QStringLiteral("/app-one");
        const QString target = appOne + QStringLiteral("/Auction5.mdb");
        const QString floorTarget = work + QStringLiteral("/floor-one.db");
        const QString scratch = work + QStringLiteral("/floor-round.mdb");
        const QString plain = roundCopyScript(scratch, tables, next, true, true);
        const QString checked =
            roundCopyScript(scratch, tables, next, true, true, roundCheckScript(tables, numeric, next));
        std::vector<Cost> ours, floors, floorsChecked;
        for (int run = 0; run < runs; ++run) {
            useApplicationFolder(appOne);
            freshCopy(built, target, oldIndex);
            OpenAuctionDatabase(target);
            SilentPrompter prompter;
            prompter.file = nextRoundZip(size);
            ImportHost host{prompter};
            bool ok = false;
            settle();
            double before = processorSeconds();
            Cost cost;
            cost.wall = timeIt([&] { ok = ImportRound(host, false); });
            cost.processor = processorSeconds() - before;
            ours.push_back(cost);
            if (!ok)
                fail(QStringLiteral("import of the next round failed"), &prompter);
            CloseAuctionDatabase();
            for (auto [script, costs] : {std::pair{&plain, &floors}, std::pair{&checked, &floorsChecked}}) {
                freshCopy(built, floorTarget, oldIndex);
                FloorConnection floor(floorTarget);
                settle();
                before = processorSeconds();
                cost.wall = timeIt([&] { floor.importRound(nextRoundZip(size), scratch, *script); });
                cost.processor = processorSeconds() - before;
                costs->push_back(cost);
            }
        }
        report(QStringLiteral("One round imported, in process (median of %1)").arg(runs).toUtf8().constData(),
               median(ours), median(floors), median(floorsChecked));

        // Where a single import spends its time.
        useApplicationFolder(appOne);
        freshCopy(built, target, oldIndex);
        OpenAuctionDatabase(target);
        out << "  stages of one round import: " << importStages(nextRoundZip(size), next) << Qt::endl;
        CloseAuctionDatabase();
        QDir(work).removeRecursively();
    } catch (const Error& e) {
        fail(QStringLiteral("error %1: %2").arg(e.number()).arg(e.description()));
    }
    return 0;
}
