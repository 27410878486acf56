#include "store/saved_query.h"

#include "store/auction_schema.h"
#include "store/database.h"
#include "store/sql_quote.h"
#include "store/user_tables.h"

#include <QRegularExpression>

namespace qv::store {

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
    // A crosstab's Select starts with its TRANSFORM: TRANSFORM Sum([x]) SELECT [Bidder].
    static const QRegularExpression transform(QStringLiteral("^\\s*TRANSFORM\\s"),
                                              QRegularExpression::CaseInsensitiveOption);
    QString statement = (transform.match(query.select).hasMatch() ? QString() : QStringLiteral("SELECT ")) +
                        query.select + QStringLiteral(" INTO ") + query.into + QStringLiteral(" FROM ") +
                        query.from;
    if (!query.where.isEmpty())
        statement += QStringLiteral(" WHERE ") + query.where;
    if (!query.order.isEmpty())
        statement += QStringLiteral(" ORDER BY ") + query.order;
    if (!statement.endsWith(QLatin1Char(';')))
        statement += QLatin1Char(';');
    return statement;
}

SqlQuery savedQueryAt(const Recordset& rows, int row)
{
    SqlQuery query;
    for (int digit = 0; digit <= 5; ++digit) {
        const int column = rows.fieldIndex(QStringLiteral("Txt") + QString::number(digit));
        const QVariant value = column < 0 ? QVariant() : rows.at(row, column);
        query.setClause(digit, value.isNull() ? QString() : value.toString());
    }
    return query;
}

QString buildQueryTable(Database& db, const SqlQuery& query)
{
    requireBuildableInto(db, query.into);
    const QString listed = schema::listedTableName(query.into);
    // The listed name is data: a quote in it (Bob's Bids) is doubled.
    const QString name = quoteText(listed);
    replaceBuiltTable(db, sqlQueryStatement(query), [&] {
        db.execute(QStringLiteral("DELETE [TableName] FROM [sysTables] WHERE [TableName] = ") + name);
        db.execute(QStringLiteral("INSERT INTO [sysTables] (TableName) VALUES (") + name + QLatin1Char(')'));
    });
    return listed;
}

} // namespace qv::store
