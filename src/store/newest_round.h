#pragma once

#include <QString>

namespace qv::store {

class Database;

// The highest round recorded in the auction's [sysRounds], as text; empty
// when no round has been imported. A table or grid shown without a round
// shows this one.
QString newestRound(Database& database);

// Raises error 3265 unless the round (a whole number as text) is one of the
// rounds in [sysRounds]: a round never imported has no rows to show, and an
// empty table would look like a round without bids.
void requireImportedRound(Database& database, const QString& round);

} // namespace qv::store
