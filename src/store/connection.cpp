#include "store/connection.h"

#include "common/error.h"
#include "store/dialect/functions.h"
#include "store/sqlite_error.h"
#include "store/sqlite_statement.h"

#include <QFile>

#include <sqlite3.h>

#include <utility>

namespace qv::store {

namespace {

int openFlags(const ConnectionSetup& setup)
{
    // One connection per thread: SQLite's own mutexes are not needed.
    int flags = SQLITE_OPEN_NOMUTEX;
    switch (setup.access) {
    case ConnectionSetup::Access::ReadOnly:
        flags |= SQLITE_OPEN_READONLY;
        break;
    case ConnectionSetup::Access::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case ConnectionSetup::Access::Create:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    }
    if (setup.uri)
        flags |= SQLITE_OPEN_URI;
    return flags;
}

void setUp(sqlite3* db, const ConnectionSetup& setup)
{
    sqlite3_extended_result_codes(db, 1);
    if (setup.busyWait.count() > 0)
        sqlite3_busy_timeout(db, static_cast<int>(setup.busyWait.count()));
    if (setup.dialect) {
        sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
        sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    }
    if (setup.secure)
        secureConnection(db);
    if (setup.dialect)
        dialect::registerFunctions(db);
}

} // namespace

Connection::Connection(const QString& path, const ConnectionSetup& setup)
{
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db_, openFlags(setup), nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db_ != nullptr ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString();
        close();
        raiseSqliteMessage(rc, message, path);
    }
    setUp(db_, setup);
}

Connection Connection::inMemory(const ConnectionSetup& setup)
{
    ConnectionSetup memory = setup;
    memory.access = ConnectionSetup::Access::Create;
    memory.uri = false;
    Connection connection;
    if (sqlite3_open_v2(":memory:", &connection.db_, openFlags(memory), nullptr) != SQLITE_OK) {
        connection.close();
        throw Error(err::OutOfMemory, QStringLiteral("Out of memory."));
    }
    setUp(connection.db_, memory);
    return connection;
}

Connection::~Connection()
{
    close();
}

Connection::Connection(Connection&& other) noexcept : db_(std::exchange(other.db_, nullptr))
{
}

Connection& Connection::operator=(Connection&& other) noexcept
{
    if (this != &other) {
        close();
        db_ = std::exchange(other.db_, nullptr);
    }
    return *this;
}

void Connection::close()
{
    sqlite3_close_v2(std::exchange(db_, nullptr));
}

} // namespace qv::store
