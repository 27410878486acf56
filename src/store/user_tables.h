#pragma once

#include <QString>

#include <functional>

namespace qv::store {

class Database;

// The tables a user may build, replace and drop: only those the wizards
// built. The tables of the round results files, the program's own (sys...)
// and the engine's (sqlite_..., MSys...) are never built over or dropped.

// Why a table the user builds may not take this name, naming the table;
// empty when it may. Names compare as the engine compares them, without
// regard to case. Engine errors (no sysSuppliedTables) pass to the caller.
QString protectedTableProblem(Database& db, const QString& table);

// Raises error 3033 when a statement that is not a query would change a
// table of the above: drop, alter, delete from, update, insert into or build
// over it. A SELECT reads any table. Malformed statements raise what the
// translator raises.
void requireChangeableTarget(Database& db, const QString& statement);

// Listed in sysTables and none of the above. A check that cannot be made
// counts as no.
bool isUserTable(Database& db, const QString& table);

// Why a saved query's Into text may not build its table, naming it: more
// than one name ("Top Bids" bare, "[x] junk"), a name with a tab or a line
// break, a protected table, a name with our work tables' prefix (qv_), or
// one that differs from a protected table only by blanks at its end. Empty
// when it may. (The last three are refused by replaceBuiltTable too.)
QString intoProblem(Database& db, const QString& into);

// Raises intoProblem as error 3125 (not one name) or 3033 (protected).
void requireBuildableInto(Database& db, const QString& into);

// Raises error 3125 for a new table name with a tab or a line break, 3033
// for one beginning qv_ or differing from a protected table only by blanks
// at its end: the names no table may take though none holds them yet.
void requireNewTableName(Database& db, const QString& table);

// Builds the table a SELECT ... INTO statement names under a name of its
// own, then drops the old table, gives the new one its name and runs list
// (the sysTables rows), all in one transaction: after any failure, a stop
// request or a killed process, the old table and its listing are exactly as
// they were. A protected target fails with 3033 and one open in a window
// with 3211, before anything is built. Returns the table built.
QString replaceBuiltTable(Database& db, const QString& statement, const std::function<void()>& list = {});

} // namespace qv::store
