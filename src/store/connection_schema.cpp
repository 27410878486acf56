#include "store/connection_schema.h"

#include "store/sqlite_statement.h"

namespace qv::store {

SchemaCache::SchemaCache(sqlite3* db) : db_(db)
{
}

SchemaCache::~SchemaCache() = default;

void SchemaCache::refresh()
{
    if (!version_)
        version_ = std::make_unique<Statement>(db_, QStringLiteral("PRAGMA schema_version"));
    version_->reset();
    const int version = version_->step() ? sqlite3_column_int(version_->get(), 0) : -1;
    version_->reset();
    if (version != schemaVersion_) {
        read_.clear();
        schemaVersion_ = version;
    }
}

std::optional<std::vector<dialect::SchemaColumn>> SchemaCache::columnsOf(const QString& table)
{
    const QString key = table.toLower();
    if (const auto known = read_.constFind(key); known != read_.constEnd())
        return *known;
    if (!columns_)
        columns_ =
            std::make_unique<Statement>(db_, QStringLiteral("SELECT name, type FROM pragma_table_info(?1)"));
    columns_->reset();
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(columns_->get(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    std::vector<dialect::SchemaColumn> columns;
    while (columns_->step()) {
        dialect::SchemaColumn c;
        c.name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(columns_->get(), 0)));
        const QString declared =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(columns_->get(), 1)));
        c.typeKnown = !declared.trimmed().isEmpty();
        c.type = fieldTypeOf(declared);
        columns.push_back(c);
    }
    columns_->reset();
    std::optional<std::vector<dialect::SchemaColumn>> result;
    if (!columns.empty())
        result = std::move(columns);
    read_.insert(key, result);
    return result;
}

std::optional<std::vector<dialect::SchemaColumn>> ConnectionSchema::columnsOf(const QString& table) const
{
    if (!refreshed_) {
        cache_.refresh();
        refreshed_ = true;
    }
    return cache_.columnsOf(table);
}

std::optional<std::vector<QVariant>> ConnectionSchema::firstColumnOf(const QString& sql,
                                                                     const QString& shownAs) const
{
    Statement rows(cache_.db(), sql, nullptr, shownAs);
    std::vector<QVariant> values;
    while (rows.step()) {
        sqlite3_stmt* s = rows.get();
        switch (sqlite3_column_type(s, 0)) {
        case SQLITE_NULL:
            values.emplace_back();
            break;
        case SQLITE_INTEGER:
            values.emplace_back(qlonglong(sqlite3_column_int64(s, 0)));
            break;
        case SQLITE_FLOAT:
            values.emplace_back(sqlite3_column_double(s, 0));
            break;
        default:
            values.emplace_back(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)),
                                                  sqlite3_column_bytes(s, 0)));
            break;
        }
    }
    return values;
}

} // namespace qv::store
