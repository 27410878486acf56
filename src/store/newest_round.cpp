#include "store/newest_round.h"

#include "store/database.h"

namespace qv::store {

QString newestRound(Database& database)
{
    auto rounds =
        database.openRecordset(QStringLiteral("SELECT [Round] FROM [sysRounds] ORDER BY [Round] DESC"));
    return rounds->eof() ? QString() : rounds->value(0).toString();
}

} // namespace qv::store
