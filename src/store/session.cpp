#include "store/session.h"

#include "common/error.h"
#include "store/auction_schema.h"

namespace qv {

Session& session()
{
    static Session state;
    return state;
}

void OpenAuctionDatabase(const QString& path)
{
    Session& s = session();
    if (s.CurrentDatabase) {
        s.CurrentDatabase->close();
        s.CurrentDatabase.reset();
    }
    s.OutOfDateTables.clear();
    s.CurrentDatabase = store::Database::open(path);
    s.CurrentDatabasePath = s.CurrentDatabase->path();
    // Auctions made before the round index existed get it now; it only speeds
    // things up, so a failure here must not keep the auction from opening.
    try {
        store::schema::ensureRoundIndexes(*s.CurrentDatabase);
    } catch (const Error&) {
    }
}

void CloseAuctionDatabase()
{
    Session& s = session();
    s.OutOfDateTables.clear();
    if (s.CurrentDatabase) {
        s.CurrentDatabase->close();
        s.CurrentDatabase.reset();
    }
}

} // namespace qv
