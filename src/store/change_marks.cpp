#include "store/change_marks.h"

#include "store/database.h"

#include <sqlite3.h>

namespace qv::store {

namespace {

// The first column of a one-row statement, or -1 when it cannot be read.
qint64 readNumber(sqlite3* connection, const char* statement)
{
    sqlite3_stmt* stmt = nullptr;
    qint64 value = -1;
    if (sqlite3_prepare_v2(connection, statement, -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_type(stmt, 0) != SQLITE_NULL)
        value = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return value;
}

} // namespace

ChangeMarks readChangeMarks(const Database& database)
{
    ChangeMarks marks;
    sqlite3* connection = database.isOpen() && !database.isReadOnly() ? database.handle() : nullptr;
    if (connection == nullptr)
        return marks;
    marks.connection = connection;
    marks.dataVersion = readNumber(connection, "PRAGMA data_version");
    marks.highestRound = readNumber(connection, "SELECT MAX([Round]) FROM [sysRounds]");
    return marks;
}

} // namespace qv::store
