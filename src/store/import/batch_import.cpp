#include "common/error.h"
#include "common/paths.h"
#include "store/import/auction_builder.h"
#include "store/import/import_folder.h"
#include "store/import/import_routines.h"
#include "store/import/round_import.h"
#include "store/session.h"

#include <QFileInfo>

namespace qv {

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
        const AuctionTables auctionTables(*session().CurrentDatabase);
        for (int round = 2;; ++round) {
            const QString archive =
                folder + prefix + QLatin1Char('_') + roundDigits(round) + QStringLiteral(".zip");
            if (!QFileInfo(archive).isFile()) {
                host.prompter.message(QStringLiteral("Finished importing rounds 1 to ") +
                                          QString::number(round - 1) + QStringLiteral("."),
                                      QStringLiteral("Finished Batch Import"), Icon::Information);
                return true;
            }
            host.prompter.setStatus(1, QStringLiteral("Importing round ") + QString::number(round) +
                                           QStringLiteral("..."));
            if (!importRoundFile(host.prompter, *session().CurrentDatabase, archive, round, RoundRows::Add,
                                 &auctionTables))
                return false;
        }
    } catch (const Error& e) {
        reportCreationError(host, e);
        return false;
    }
}

} // namespace qv
