// Record sets whose rows are read as they are asked for (a grid's rows).
#include "common/error.h"
#include "store/connection_schema.h"
#include "store/database.h"
#include "store/dialect/translator.h"
#include "store/record_reader.h"
#include "store/row_pager.h"
#include "store/sql_quote.h"
#include "store/sqlite_statement.h"

namespace qv::store {

namespace {

// A column of that name would stand for the row id in the statements.
bool shadowsRowId(const std::vector<Field>& fields)
{
    for (const Field& f : fields)
        for (const char* name : {"rowid", "oid", "_rowid_"})
            if (f.name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

} // namespace

std::unique_ptr<Recordset> Database::openTableRows(const QString& table, const QString& condition,
                                                   const QString& ordering)
{
    requireOpen();
    QString statement = QStringLiteral("SELECT * FROM [") + table + QLatin1Char(']');
    if (!condition.isEmpty())
        statement += QStringLiteral(" WHERE ") + condition;
    if (!ordering.isEmpty())
        statement += QStringLiteral(" Order By ") + ordering;
    const ConnectionSchema schema(schemaCache());
    const dialect::Translation tr = dialect::translate(statement, &schema);
    QStringList tablesRead;
    std::vector<Field> fields;
    bool rowIds = false;
    {
        // Prepared, not run: the same errors as opening the statement.
        Statement probe(db_, tr.sql, &tablesRead, statement);
        RecordReader reader(probe, nullptr, &tr.expressionTypes);
        fields = reader.takeFields();
        // A table made WITHOUT ROWID has none to read its rows by.
        sqlite3_stmt* ids = nullptr;
        const QByteArray idSql =
            QStringLiteral("SELECT rowid FROM %1 LIMIT 0").arg(quoteName(table)).toUtf8();
        rowIds = sqlite3_prepare_v2(db_, idSql.constData(), -1, &ids, nullptr) == SQLITE_OK;
        sqlite3_finalize(ids);
    }
    if (tr.kind != dialect::StatementKind::Select || !rowIds || shadowsRowId(fields))
        return select(tr.sql, RecordsetType::Snapshot, {}, {}, nullptr, &tr.expressionTypes, statement);
    std::vector<dialect::SchemaColumn> columns;
    columns.reserve(fields.size());
    for (const Field& f : fields)
        columns.push_back({f.name, f.type, !f.typeFromValues});
    PagedSource source{quoteName(table), {}, {}};
    if (!condition.isEmpty())
        source.conditions << dialect::translateExpression(condition, columns);
    if (!ordering.isEmpty())
        source.order = dialect::translateOrderBy(ordering, columns);
    return selectPaged(std::move(source), RecordsetType::Snapshot, fields, statement, std::move(tablesRead));
}

std::unique_ptr<Recordset> Database::selectPaged(PagedSource source, RecordsetType type,
                                                 const std::vector<Field>& fields, const QString& shownAs,
                                                 QStringList sourceTables)
{
    requireOpen();
    auto pager = std::make_shared<RowPager>(weak_from_this(), std::move(source), fields, shownAs);
    return std::make_unique<Recordset>(weak_from_this(), type, std::move(pager), std::move(sourceTables));
}

} // namespace qv::store
