#pragma once

#include <QString>

struct sqlite3;

namespace qv::store {

// The trigger the program makes to keep Nulls out of a table's primary key
// column, for INSERT or UPDATE: its name, and its complete CREATE TRIGGER
// statement.
QString keyNullTriggerName(const QString& event, const QString& table);
QString keyNullTrigger(const QString& name, const QString& event, const QString& table,
                       const QString& column);

// Refuses (error 3343, naming it) a database that holds a trigger or view the
// program did not make. Such a thing came from elsewhere: a trigger would run
// on the next import as if it were the program's own. Nothing is written.
void refuseForeignSchemaObjects(sqlite3* db, const QString& path);

} // namespace qv::store
