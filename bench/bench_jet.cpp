// bench_jet: importing a round results file in the agency's Jet format
// against the same file converted to our own format, into a 250-round
// auction 12 grown from the Jet fixture rounds.
#include "bench_support.h"
#include "import_stages.h"

#include "common/error.h"
#include "store/database.h"
#include "store/import/import_routines.h"
#include "store/import/round_archive.h"
#include "store/sample/round_archive.h"
#include "store/session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

using namespace qv;
using namespace qv::bench;

namespace {

QTextStream out(stdout);

QString fixture(const QString& name)
{
    const QString env = qEnvironmentVariable("QUORVANE_JET_FIXTURES");
    return (env.isEmpty() ? QStringLiteral(QV_FIXTURES_DIR "/jet-rounds") : env) + QLatin1Char('/') + name;
}

void importOrFail(bool create, const QString& zip)
{
    SilentPrompter prompter;
    prompter.file = zip;
    ImportHost host{prompter};
    if (!(create ? CreateAuction(host) : ImportRound(host, false)))
        fail(QStringLiteral("import of ") + zip + QStringLiteral(" failed"), &prompter);
}

// Copies rounds 1..3 of every supplied table with a [Round] column up to
// round 250, the copies' [Round] shifted, and records the rounds.
QString growScript(const QString& auctionPath)
{
    auto db = store::Database::open(auctionPath);
    const QString rounds =
        QStringLiteral("WITH RECURSIVE n(r) AS (SELECT 4 UNION ALL SELECT r + 1 FROM n WHERE r < "
                       "250)\n");
    QString script = QStringLiteral("BEGIN;\n");
    for (const QString& t : suppliedTables(auctionPath)) {
        const QStringList columns = db->columnNames(t);
        if (!columns.contains(QStringLiteral("Round")))
            continue;
        QStringList names, values;
        for (const QString& c : columns) {
            names << quoted(c);
            values << (c == QLatin1String("Round") ? QStringLiteral("n.r")
                                                   : QStringLiteral("t.") + quoted(c));
        }
        script += rounds + QStringLiteral("INSERT INTO ") + quoted(t) + QStringLiteral(" (") +
                  names.join(QStringLiteral(", ")) + QStringLiteral(") SELECT ") +
                  values.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + quoted(t) +
                  QStringLiteral(" AS t JOIN n ON t.\"Round\" = (n.r - 1) % 3 + 1;\n");
    }
    script += rounds + QStringLiteral("INSERT INTO sysRounds (Round) SELECT r FROM n;\nCOMMIT;\n");
    return script;
}

QString buildAuction250(const QString& app)
{
    useApplicationFolder(app);
    importOrFail(true, fixture(QStringLiteral("12_001.zip")));
    importOrFail(false, fixture(QStringLiteral("12_002.zip")));
    importOrFail(false, fixture(QStringLiteral("12_003.zip")));
    CloseAuctionDatabase();
    const QString auction = app + QStringLiteral("/Auction12.mdb");
    runShell(auction, growScript(auction));
    return auction;
}

// Round 4 with its member rewritten in our own format.
QString ownFormatRound4(const QString& folder)
{
    QDir().mkpath(folder);
    const QString mdb =
        extractRoundDatabase(fixture(QStringLiteral("12_004.zip")), QStringLiteral("12_004.mdb"), folder);
    if (!store::convertToOwnFormat(mdb))
        fail(QStringLiteral("12_004.mdb is not a Jet file"));
    QFile file(mdb);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read ") + mdb);
    const QString zip = folder + QStringLiteral("/12_004.zip");
    store::sample::writeRoundArchive(zip, QStringLiteral("12_004.mdb"), file.readAll());
    file.close();
    QFile::remove(mdb);
    return zip;
}

double timeImport(const QString& app, const QString& auction250, const QString& zip)
{
    useApplicationFolder(app);
    const QString target = app + QStringLiteral("/Auction12.mdb");
    copyFresh(auction250, target);
    OpenAuctionDatabase(target);
    settle();
    const double seconds = timeIt([&] { importOrFail(false, zip); });
    CloseAuctionDatabase();
    return seconds;
}

QString stagesOf(const QString& app, const QString& auction250, const QString& zip)
{
    useApplicationFolder(app);
    const QString target = app + QStringLiteral("/Auction12.mdb");
    copyFresh(auction250, target);
    OpenAuctionDatabase(target);
    const QString stages = importStages(zip, 4);
    CloseAuctionDatabase();
    return stages;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    try {
        const QString work = cacheFolder() + QStringLiteral("/bench-jet");
        QDir(work).removeRecursively();
        const QString built = buildAuction250(work + QStringLiteral("/build"));
        const QString auction250 = work + QStringLiteral("/Auction12-250.mdb");
        copyFresh(built, auction250);
        const QString jetZip = fixture(QStringLiteral("12_004.zip"));
        const QString ownZip = ownFormatRound4(work + QStringLiteral("/own"));

        std::vector<double> jet, own;
        const QString app = work + QStringLiteral("/app");
        for (int run = 0; run < 5; ++run) {
            jet.push_back(timeImport(app, auction250, jetZip));
            own.push_back(timeImport(app, auction250, ownZip));
        }
        const double j = median(jet), o = median(own);
        out << "Import of round 4 into a 250-round auction 12 (median of 5): Jet " << j << " s, own format "
            << o << " s, ratio " << j / o << " (aim no more than 1.5x)" << Qt::endl;
        out << "  stages, Jet:        " << stagesOf(app, auction250, jetZip) << Qt::endl;
        out << "  stages, own format: " << stagesOf(app, auction250, ownZip) << Qt::endl;
        QDir(work).removeRecursively();
    } catch (const Error& e) {
        fail(QStringLiteral("error %1: %2").arg(e.number()).arg(e.description()));
    }
    return 0;
}
