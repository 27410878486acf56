#pragma once

#include <QString>

namespace qv::store {

class Database;

// Copies every row that sourceSelect (SQLite, on source) returns into table
// target of the database file at targetPath, columns matched by name, with
// one prepared insert inside one savepoint of the target's connection.
// When the whole of sourceTable is copied and the target's connection has
// the source file attached, SQLite moves the rows itself.
void copyRowsInto(Database& source, const QString& sourceSelect, const QString& sourceTable,
                  const QString& targetPath, const QString& target);

} // namespace qv::store
