#include "store/connection_schema.h"

#include "store/sqlite_statement.h"

namespace qv::store {

std::optional<std::vector<dialect::SchemaColumn>> ConnectionSchema::columnsOf(const QString& table) const
{
    const QString key = table.toLower();
    if (const auto known = read_.constFind(key); known != read_.constEnd())
        return *known;
    std::vector<dialect::SchemaColumn> columns;
    {
        Statement s(db_, QStringLiteral("SELECT name, type FROM pragma_table_info(?1)"));
        const QByteArray name = table.toUtf8();
        sqlite3_bind_text(s.get(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        while (s.step()) {
            dialect::SchemaColumn c;
            c.name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0)));
            const QString declared =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 1)));
            c.typeKnown = !declared.trimmed().isEmpty();
            c.type = fieldTypeOf(declared);
            columns.push_back(c);
        }
    }
    std::optional<std::vector<dialect::SchemaColumn>> result;
    if (!columns.empty())
        result = std::move(columns);
    read_.insert(key, result);
    return result;
}

} // namespace qv::store
