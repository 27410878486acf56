#include "store/newest_round.h"

#include "common/error.h"
#include "store/database.h"

namespace qv::store {

QString newestRound(Database& database)
{
    auto rounds =
        database.openRecordset(QStringLiteral("SELECT [Round] FROM [sysRounds] ORDER BY [Round] DESC"));
    return rounds->eof() ? QString() : rounds->value(0).toString();
}

void requireImportedRound(Database& database, const QString& round)
{
    bool whole = false;
    const qlonglong number = round.toLongLong(&whole);
    if (whole) {
        auto rows = database.openRecordset(
            QStringLiteral("SELECT [Round] FROM [sysRounds] WHERE [Round] = ") + QString::number(number));
        if (!rows->eof())
            return;
    }
    throw Error(err::ItemNotFound,
                QStringLiteral("Round ") + round + QStringLiteral(" has not been imported."));
}

} // namespace qv::store
