#include "query/core/sql_query.h"

#include "common/error.h"
#include "store/auction_schema.h"

namespace qv::query {

namespace {

QString quotedValue(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

} // namespace

QString SqlQuery::clause(int digit) const
{
    switch (digit) {
    case 0:
        return select;
    case 1:
        return into;
    case 2:
        return from;
    case 3:
        return where;
    case 4:
        return order;
    case 5:
        return name;
    default:
        return {};
    }
}

void SqlQuery::setClause(int digit, const QString& text)
{
    switch (digit) {
    case 0:
        select = text;
        break;
    case 1:
        into = text;
        break;
    case 2:
        from = text;
        break;
    case 3:
        where = text;
        break;
    case 4:
        order = text;
        break;
    case 5:
        name = text;
        break;
    default:
        break;
    }
}

QString sqlQueryStatement(const SqlQuery& query)
{
    QString statement = QStringLiteral("SELECT ") + query.select + QStringLiteral(" INTO ") + query.into +
                        QStringLiteral(" FROM ") + query.from;
    if (!query.where.isEmpty())
        statement += QStringLiteral(" WHERE ") + query.where;
    if (!query.order.isEmpty())
        statement += QStringLiteral(" ORDER BY ") + query.order;
    if (!statement.endsWith(QLatin1Char(';')))
        statement += QLatin1Char(';');
    return statement;
}

QString dropIntoStatement(const QString& into)
{
    const QString name = into.trimmed();
    if (name.startsWith(QLatin1Char('[')))
        return QStringLiteral("DROP TABLE ") + name;
    return QStringLiteral("DROP TABLE [") + name + QLatin1Char(']');
}

QString runSqlQuery(store::Database& database, const SqlQuery& query, const ShownTable& window)
{
    const QString statement = sqlQueryStatement(query);
    const QString listed = store::schema::listedTableName(query.into);
    for (int tries = 1;; ++tries) {
        try {
            database.execute(statement);
            break;
        } catch (const Error& error) {
            const bool exists = error.number() == err::TableExists;
            if (tries >= maxQueryTries || (!exists && error.number() != err::TableInUse))
                throw;
            if (exists) {
                // The list shows the listed name; the Into text may carry brackets.
                if (window.shows && (window.shows(query.into) || window.shows(listed)) && window.switchAway)
                    window.switchAway();
                database.execute(dropIntoStatement(query.into));
            } else if (window.switchAway) {
                window.switchAway();
            }
        }
    }
    auto already = database.openRecordset(
        QStringLiteral("SELECT [TableName] FROM [sysTables] WHERE [TableName] = ") + quotedValue(listed),
        store::RecordsetType::Snapshot);
    if (already->recordCount() == 0)
        database.execute(QStringLiteral("INSERT INTO [sysTables] (TableName) VALUES (") +
                         quotedValue(listed) + QLatin1Char(')'));
    return listed;
}

QString finishedBuildingText(const QString& listedName)
{
    return QStringLiteral("     Finished building the table '") + listedName + QStringLiteral("'\r") +
           QStringLiteral("To view the table, select it from the\r") +
           QStringLiteral("         Table pull-down menu.");
}

} // namespace qv::query
