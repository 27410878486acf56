#include "store/session.h"

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
    s.CurrentDatabase = store::Database::open(path);
    s.CurrentDatabasePath = s.CurrentDatabase->path();
}

void CloseAuctionDatabase()
{
    Session& s = session();
    if (s.CurrentDatabase) {
        s.CurrentDatabase->close();
        s.CurrentDatabase.reset();
    }
}

} // namespace qv
