#include "query/core/sql_query.h"

#include "common/error.h"
#include "store/auction_schema.h"
#include "store/user_tables.h"

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

QString runSqlQuery(store::Database& database, const SqlQuery& query, const ShownTable& window)
{
    store::requireBuildableInto(database, query.into);
    const QString statement = sqlQueryStatement(query);
    const QString listed = store::schema::listedTableName(query.into);
    // The list shows the listed name; the Into text may carry brackets.
    if (window.shows && (window.shows(query.into) || window.shows(listed)) && window.switchAway)
        window.switchAway();
    const auto list = [&] {
        auto already = database.openRecordset(
            QStringLiteral("SELECT [TableName] FROM [sysTables] WHERE [TableName] = ") + quotedValue(listed),
            store::RecordsetType::Snapshot);
        if (already->recordCount() == 0)
            database.execute(QStringLiteral("INSERT INTO [sysTables] (TableName) VALUES (") +
                             quotedValue(listed) + QLatin1Char(')'));
    };
    for (int tries = 1;; ++tries) {
        try {
            store::replaceBuiltTable(database, statement, list);
            return listed;
        } catch (const Error& error) {
            if (tries >= maxQueryTries || error.number() != err::TableInUse || !window.switchAway)
                throw;
            window.switchAway();
        }
    }
}

QString finishedBuildingText(const QString& listedName)
{
    return QStringLiteral("     Finished building the table '") + listedName + QStringLiteral("'\r") +
           QStringLiteral("To view the table, select it from the\r") +
           QStringLiteral("         Table pull-down menu.");
}

} // namespace qv::query
