#pragma once

#include <QStringList>

namespace qv::store {

class Database;

// What the windows' drop-down lists offer, read from the auction: its
// rounds as text, newest first, and the tables listed in sysTables in their
// stored order. Engine errors pass to the caller.
QStringList roundsNewestFirst(Database& database);
QStringList listedTables(Database& database);

} // namespace qv::store
