#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

namespace qv::store::jet {

// True when the file's header says Jet ("Standard Jet DB" at byte 4; Jet 3 and Jet 4).
bool isJetDatabase(const QString& path);

// Reads every table of a Jet database into an open SQLite connection. Each table that is not the
// engine's own (name beginning "MSys", case-sensitive) is created in `destination` with the same
// columns in the same order, types mapped, and every row copied, all inside one savepoint.
// Returns the names of ALL tables in the engine's catalogue order, MSys* included.
// Throws qv::Error: 53 missing file, 3343 damaged or unreadable, 3031 encrypted or password-protected,
// 3010 a table that already exists in `destination`. The tables go into `schema` of `destination`;
// without `lengthChecks` their texts are not checked against their declared lengths.
QStringList copyJetIntoSqlite(const QString& mdbPath, sqlite3* destination,
                              const QString& schema = QStringLiteral("main"), bool lengthChecks = true);

} // namespace qv::store::jet
