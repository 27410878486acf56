#include "store/sample/sample_auction.h"

#include "common/error.h"
#include "common/paths.h"
#include "store/connection.h"
#include "store/sample/auction_simulation.h"
#include "store/sample/round_archive.h"
#include "store/sample/round_tables.h"
#include "store/sample/table_writer.h"

#include <QDir>

#include <sqlite3.h>

namespace qv::store::sample {

namespace {

QByteArray roundDatabaseImage(const AuctionSimulation& auction, const SampleRoundOutcome& outcome,
                              bool engineTables)
{
    // Each round database is built in memory and only its image reaches the
    // disk, inside the archive: no extracted file is ever left behind. Built
    // here, it is trusted, and its journal is switched off.
    ConnectionSetup setup;
    setup.secure = false;
    const Connection db = Connection::inMemory(setup);
    executeStatement(db.get(), QStringLiteral("PRAGMA journal_mode=OFF"));
    executeStatement(db.get(), QStringLiteral("PRAGMA synchronous=OFF"));
    executeStatement(db.get(), QStringLiteral("BEGIN"));
    writeRoundTables(db.get(), auction, outcome, engineTables);
    executeStatement(db.get(), QStringLiteral("COMMIT"));
    return serializeDatabase(db.get());
}

} // namespace

QString sampleOptionsProblem(const SampleOptions& options)
{
    if (options.auction < 1 || options.auction > 99)
        return QStringLiteral("the auction number must be from 1 to 99");
    if (options.rounds < 1 || options.rounds > 999)
        return QStringLiteral("the number of rounds must be from 1 to 999");
    if (options.licenses < 1 || options.licenses > 100000)
        return QStringLiteral("the number of licences must be from 1 to 100000");
    if (!(options.withdrawalChance >= 0.0 && options.withdrawalChance <= 1.0))
        return QStringLiteral("the withdrawal chance must be from 0 to 1");
    if (options.bidders < 1 || options.bidders > 10000)
        return QStringLiteral("the number of bidders must be from 1 to 10000");
    return QString();
}

QStringList writeSampleAuction(const QString& folder, const SampleOptions& options)
{
    const QString problem = sampleOptionsProblem(options);
    if (!problem.isEmpty())
        throw Error(err::TypeMismatch, QStringLiteral("Cannot generate the auction: ") + problem);
    if (!QDir().mkpath(folder))
        throw Error(err::PathNotFound, QStringLiteral("Cannot create the folder ") + folder);

    AuctionSimulation auction(options);
    QStringList written;
    for (int round = 1; round <= options.rounds; ++round) {
        const SampleRoundOutcome& outcome = auction.playRound();
        const QString base = QStringLiteral("%1_%2")
                                 .arg(options.auction, 2, 10, QLatin1Char('0'))
                                 .arg(round, 3, 10, QLatin1Char('0'));
        const QString zipPath = joinPath(folder, base + QStringLiteral(".zip"));
        writeRoundArchive(zipPath, base + QStringLiteral(".mdb"),
                          roundDatabaseImage(auction, outcome, options.engineTables));
        written << zipPath;
    }
    return written;
}

} // namespace qv::store::sample
