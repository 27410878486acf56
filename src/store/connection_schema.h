#pragma once

#include "store/dialect/schema.h"

#include <QHash>

#include <memory>

struct sqlite3;

namespace qv::store {

class Statement;

// The columns of a connection's tables, each with the field type its declared
// type stands for, read once and kept while the database's schema stays the
// same (SQLite's schema_version, which every change of any connection bumps).
class SchemaCache {
public:
    explicit SchemaCache(sqlite3* db);
    ~SchemaCache();
    SchemaCache(const SchemaCache&) = delete;
    SchemaCache& operator=(const SchemaCache&) = delete;

    // Forgets what it read when the schema has changed since.
    void refresh();
    std::optional<std::vector<dialect::SchemaColumn>> columnsOf(const QString& table);
    sqlite3* db() const { return db_; }

private:
    sqlite3* db_;
    std::unique_ptr<Statement> version_;
    std::unique_ptr<Statement> columns_;
    int schemaVersion_ = -1;
    QHash<QString, std::optional<std::vector<dialect::SchemaColumn>>> read_;
};

// The schema one translation sees: the cache, checked once for changes.
class ConnectionSchema : public dialect::Schema {
public:
    explicit ConnectionSchema(SchemaCache& cache) : cache_(cache) {}
    std::optional<std::vector<dialect::SchemaColumn>> columnsOf(const QString& table) const override;
    std::optional<std::vector<QVariant>> firstColumnOf(const QString& sql,
                                                       const QString& shownAs) const override;

private:
    SchemaCache& cache_;
    mutable bool refreshed_ = false;
};

} // namespace qv::store
