#include "common/error.h"
#include "common/paths.h"
#include "store/import/auction_builder.h"
#include "store/import/import_folder.h"
#include "store/import/import_routines.h"
#include "store/import/round_archive.h"
#include "store/import/round_copy.h"
#include "store/session.h"

#include <QFileInfo>

namespace qv {

namespace {

// Imports one further round of a new auction in one transaction. Returns
// false when the file holds rows of another round.
bool importBatchRound(ImportHost& host, const QString& archive, const QString& member, int round)
{
    store::Database& auction = *session().CurrentDatabase;
    const QString extracted = extractRoundDatabase(archive, member, applicationFolder());
    RemoveOnExit cleanup(extracted);
    auto roundDb = store::Database::open(extracted);
    const QString foreign = foreignRoundIn(auction, *roundDb, round);
    if (!foreign.isEmpty()) {
        refuseForeignRound(host.prompter, SplitPath(archive, true), round, foreign);
        return false;
    }
    AttachedRound attached(auction, *roundDb);
    auction.beginTrans();
    try {
        copyRoundTables(auction, *roundDb, round, false);
        roundDb->close();
        auction.execute(QStringLiteral("INSERT INTO sysRounds (Round) VALUES (") + QString::number(round) +
                        QLatin1Char(')'));
        auction.commitTrans();
    } catch (...) {
        auction.rollback();
        throw;
    }
    return true;
}

} // namespace

bool BatchImportAuction(ImportHost& host)
{
    BusyScope busy(host.prompter);
    try {
        const auto chosen = chooseFirstRoundFile(host);
        if (!chosen)
            return false;
        const QString folder = SplitPath(*chosen, false);
        const QString prefix = SplitPath(*chosen, true).left(2);
        if (!buildAuction(host, *chosen, store::schema::QueryBuilderLayout::Batch))
            return false;
        host.setCaption(QStringLiteral("Quorvane - ") + session().CurrentDatabasePath);
        for (int round = 2;; ++round) {
            const QString archive =
                folder + prefix + QLatin1Char('_') + roundDigits(round) + QStringLiteral(".zip");
            const QString member = prefix + QLatin1Char('_') + roundDigits(round) + QStringLiteral(".mdb");
            if (!QFileInfo(archive).isFile()) {
                host.prompter.message(QStringLiteral("Finished importing rounds 1 to ") +
                                          QString::number(round - 1) + QStringLiteral("."),
                                      QStringLiteral("Finished Batch Import"), Icon::Information);
                return true;
            }
            host.prompter.setStatus(1, QStringLiteral("Importing round ") + QString::number(round) +
                                           QStringLiteral("..."));
            if (!importBatchRound(host, archive, member, round))
                return false;
        }
    } catch (const Error& e) {
        reportCreationError(host, e);
        return false;
    }
}

} // namespace qv
