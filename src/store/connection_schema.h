#pragma once

#include "store/dialect/schema.h"

#include <QHash>

struct sqlite3;

namespace qv::store {

// The tables of a connection as the dialect's translator sees them: each
// column with the field type its declared type stands for. A table is read once
// per translation.
class ConnectionSchema : public dialect::Schema {
public:
    explicit ConnectionSchema(sqlite3* db) : db_(db) {}
    std::optional<std::vector<dialect::SchemaColumn>> columnsOf(const QString& table) const override;

private:
    sqlite3* db_;
    mutable QHash<QString, std::optional<std::vector<dialect::SchemaColumn>>> read_;
};

} // namespace qv::store
