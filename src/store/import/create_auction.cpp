#include "common/error.h"
#include "store/import/auction_builder.h"
#include "store/import/import_routines.h"
#include "store/session.h"

namespace qv {

bool CreateAuction(ImportHost& host)
{
    BusyScope busy(host.prompter);
    try {
        const auto chosen = chooseFirstRoundFile(host);
        if (!chosen)
            return false;
        const auto auction = buildAuction(host, *chosen, store::schema::QueryBuilderLayout::Single);
        if (!auction)
            return false;
        host.prompter.message(QStringLiteral("Auction ") + QString::number(*auction) +
                                  QStringLiteral(" has been successfully created.\r"),
                              QStringLiteral("Round Imported Successfully"), Icon::Information, Buttons::OK);
        host.setCaption(QStringLiteral("Quorvane - ") + session().CurrentDatabasePath);
        return true;
    } catch (const Error& e) {
        reportCreationError(host, e);
        return false;
    }
}

} // namespace qv
