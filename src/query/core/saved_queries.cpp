#include "query/core/saved_queries.h"

#include "common/error.h"
#include "store/sql_quote.h"
#include "store/user_tables.h"

namespace qv::query {

namespace {

QString valueOf(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("Null") : store::quoteText(text);
}

QString field(int digit)
{
    return store::bracketName(QStringLiteral("Txt") + QString::number(digit));
}

} // namespace

QList<SqlQuery> SavedQueries::all() const
{
    auto rows = database_.openRecordset(QStringLiteral("SELECT * FROM [sysQueryBuilder]"),
                                        store::RecordsetType::Snapshot);
    QList<SqlQuery> queries;
    for (int row = 0; row < rows->recordCount(); ++row)
        queries << store::savedQueryAt(*rows, row);
    return queries;
}

std::optional<SqlQuery> SavedQueries::find(const QString& name) const
{
    auto rows = database_.openRecordset(QStringLiteral("SELECT * FROM [sysQueryBuilder] WHERE [Txt5] = ") +
                                            valueOf(name),
                                        store::RecordsetType::Snapshot);
    if (rows->recordCount() == 0)
        return std::nullopt;
    return store::savedQueryAt(*rows, 0);
}

void SavedQueries::add(const SqlQuery& query)
{
    if (!query.into.isEmpty())
        store::requireBuildableInto(database_, query.into);
    QStringList values;
    for (int digit = 0; digit <= 5; ++digit)
        values << valueOf(query.clause(digit));
    database_.execute(QStringLiteral("INSERT INTO [sysQueryBuilder] ([Txt0], [Txt1], [Txt2], [Txt3], [Txt4], "
                                     "[Txt5]) VALUES (") +
                      values.join(QStringLiteral(", ")) + QLatin1Char(')'));
}

void SavedQueries::setClause(const QString& name, int digit, const QString& text)
{
    if (digit == 1 && !text.isEmpty())
        store::requireBuildableInto(database_, text);
    database_.execute(QStringLiteral("UPDATE [sysQueryBuilder] SET ") + field(digit) + QStringLiteral(" = ") +
                      valueOf(text) + QStringLiteral(" WHERE [Txt5] = ") + valueOf(name));
}

void SavedQueries::remove(const QString& name)
{
    database_.execute(QStringLiteral("DELETE * FROM [sysQueryBuilder] WHERE [Txt5] = ") + valueOf(name));
}

} // namespace qv::query
