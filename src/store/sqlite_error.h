#pragma once

#include <QString>

struct sqlite3;

namespace qv {
class Error;
}

namespace qv::store {

// Raises the engine error that a failed SQLite call stands for, with a
// description in the program's words naming the table, column or file.
[[noreturn]] void raiseSqliteError(sqlite3* db, int rc, const QString& context = {});

// Error 3078 for a table or query that a statement reads and that does not exist.
Error inputTableNotFound(const QString& name);

// What an error met on db is about: the file itself for a lock, damage or a
// full disk (they belong to the file, not to the statement that met them),
// else context.
QString errorContext(sqlite3* db, int rc, const QString& context);

// The engine error for a SQLite message alone.
[[noreturn]] void raiseSqliteMessage(int rc, const QString& message, const QString& context = {});

} // namespace qv::store
