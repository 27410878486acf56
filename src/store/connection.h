#pragma once

#include <QString>

#include <chrono>

struct sqlite3;

namespace qv::store {

// What a connection is opened for; every connection gets extended result
// codes (errors are told apart by code, not by their wording).
struct ConnectionSetup {
    enum class Access { ReadOnly, ReadWrite, Create };
    Access access = Access::ReadWrite;
    // The path may be a file: URI (an auction attaches its round read-only so).
    bool uri = false;
    // How long a statement waits for another program's lock before failing.
    std::chrono::milliseconds busyWait{0};
    // Statements in the program's dialect: a double-quoted name never falls
    // back to a text, and the dialect's functions are registered.
    bool dialect = false;
    // Defensive mode and an untrusted schema, for files from elsewhere. Off
    // only for a database this program builds in memory, which switches its
    // journal off.
    bool secure = true;
};

// The one owner of a SQLite connection: set up as asked, closed when it goes.
// It converts to the handle, so it goes wherever a sqlite3* is asked for.
class Connection {
public:
    Connection() = default;
    // Raises the engine's error naming path when the file cannot be opened.
    Connection(const QString& path, const ConnectionSetup& setup);
    // A new database in memory; error 7 when there is no room for one.
    static Connection inMemory(const ConnectionSetup& setup);
    ~Connection();
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* get() const { return db_; }
    operator sqlite3*() const { return db_; }
    // Closes now; statements not yet finalised keep it until they go.
    void close();

private:
    sqlite3* db_ = nullptr;
};

} // namespace qv::store
