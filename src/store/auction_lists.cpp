#include "store/auction_lists.h"

#include "store/database.h"

namespace qv::store {

namespace {

QStringList fieldValues(Database& database, const QString& statement, const QString& field)
{
    auto rows = database.openRecordset(statement);
    QStringList values;
    for (; !rows->eof(); rows->moveNext())
        values << rows->value(field).toString();
    return values;
}

} // namespace

QStringList roundsNewestFirst(Database& database)
{
    return fieldValues(database, QStringLiteral("SELECT [Round] FROM [sysRounds] ORDER BY [Round] DESC"),
                       QStringLiteral("Round"));
}

QStringList listedTables(Database& database)
{
    return fieldValues(database, QStringLiteral("SELECT * FROM [sysTables]"), QStringLiteral("TableName"));
}

} // namespace qv::store
