#include "store/import/table_columns.h"

#include "store/database.h"
#include "store/field_type.h"
#include "store/sql_quote.h"
#include "store/sqlite_statement.h"

#include <sqlite3.h>

namespace qv {

namespace {

// The engine matches table names ignoring the case of ASCII letters only.
QString keyOf(const QString& table)
{
    QString key = table;
    for (QChar& c : key)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return key;
}

QString textOf(sqlite3_stmt* s, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, column)));
}

} // namespace

TableColumns::TableColumns(store::Database& db) : TableColumns(db.handle(), QStringLiteral("main"))
{
}

TableColumns::TableColumns(sqlite3* connection, const QString& schema)
{
    store::Statement s(connection,
                       QStringLiteral("SELECT m.name, p.name, p.type FROM ") + store::quoteName(schema) +
                           QStringLiteral(".sqlite_master AS m JOIN pragma_table_info(m.name, ") +
                           store::quoteText(schema) +
                           QStringLiteral(") AS p WHERE m.type = 'table' ORDER BY m.name, p.cid"));
    while (s.step()) {
        Columns& columns = byTable_[keyOf(textOf(s.get(), 0))];
        columns.names << textOf(s.get(), 1);
        columns.types << textOf(s.get(), 2);
    }
}

QString TableColumns::schemaText(sqlite3* connection, const QString& schema)
{
    store::Statement s(connection, QStringLiteral("SELECT group_concat(type || ' ' || name || ' ' || "
                                                  "ifnull(sql, ''), char(10)) FROM ") +
                                       store::quoteName(schema) + QStringLiteral(".sqlite_master"));
    return s.step() ? textOf(s.get(), 0) : QString();
}

const TableColumns& RoundColumnsCache::columnsOf(sqlite3* connection, const QString& schema)
{
    QString text = TableColumns::schemaText(connection, schema);
    if (!columns_ || text != schemaText_) {
        columns_.reset();
        columns_.emplace(connection, schema);
        schemaText_ = std::move(text);
    }
    return *columns_;
}

bool TableColumns::hasTable(const QString& table) const
{
    return byTable_.contains(keyOf(table));
}

QStringList TableColumns::names(const QString& table) const
{
    return byTable_.value(keyOf(table)).names;
}

QStringList TableColumns::types(const QString& table) const
{
    return byTable_.value(keyOf(table)).types;
}

} // namespace qv
