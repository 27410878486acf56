#pragma once

#include <QStringList>

namespace qv::store {

class Database;

// Copies every row that sourceSelect (SQLite, on source) returns into table
// target of the database file at targetPath, columns matched by name, with
// one prepared insert inside one savepoint of the target's connection.
// When the whole of sourceTable is copied and the target's connection has
// the source file attached, SQLite moves the rows itself. Errors of the
// SELECT name shownAs, the statement as the user wrote it, when given.
void copyRowsInto(Database& source, const QString& sourceSelect, const QString& sourceTable,
                  const QString& targetPath, const QString& target, const QString& shownAs = {});

// Copies the whole of sourceTable of the database attached to destination's
// connection into destination's table target, columns matched by name, in
// one INSERT ... SELECT. The caller has read both tables' columns (none when
// there is no such table); targetPath names the target in errors.
void copyAttachedTable(const QString& sourceTable, const QStringList& sourceColumns, Database& destination,
                       const QString& target, const QStringList& targetColumns, const QString& targetPath);

} // namespace qv::store
