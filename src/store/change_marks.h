#pragma once

#include <QtGlobal>

namespace qv::store {

class Database;

// What tells a window that another program wrote to the open auction: the
// connection read on, SQLite's data_version of it (which changes only with
// other connections' commits) and the highest round of sysRounds. A mark
// that cannot be read is -1.
struct ChangeMarks {
    const void* connection = nullptr;
    qint64 dataVersion = -1;
    qint64 highestRound = -1;
};

// Two tiny reads on the open connection; nothing is read from a closed or
// read-only auction (connection stays null).
ChangeMarks readChangeMarks(const Database& database);

} // namespace qv::store
