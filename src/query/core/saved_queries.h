#pragma once

#include "query/core/sql_query.h"
#include "store/database.h"

#include <QList>

#include <optional>

namespace qv::query {

// The saved queries of the SQL query wizard: rows of sysQueryBuilder, keyed
// by their name (Txt5). Texts go in as quoted values with apostrophes
// doubled; a text longer than its column allows fails with the engine's
// error 3163 instead of being cut. An empty clause is stored as Null. An
// Into that is not one name (3125) or names a table a user may not build
// (3033) is refused.
class SavedQueries {
public:
    explicit SavedQueries(store::Database& database) : database_(database) {}

    // In the order the engine returns them, as the rebuild after an import runs them.
    QList<SqlQuery> all() const;
    std::optional<SqlQuery> find(const QString& name) const;
    // A new row; 3022 when the name is taken.
    void add(const SqlQuery& query);
    // One field of a saved query, by the digit of its name (5 renames it).
    void setClause(const QString& name, int digit, const QString& text);
    void remove(const QString& name);

private:
    store::Database& database_;
};

} // namespace qv::query
