#pragma once

#include <QString>

namespace qv::store {

class Database;

// The highest round recorded in the auction's [sysRounds], as text; empty
// when no round has been imported. A table or grid shown without a round
// shows this one.
QString newestRound(Database& database);

} // namespace qv::store
