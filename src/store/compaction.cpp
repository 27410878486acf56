#include "store/compaction.h"

#include "common/error.h"
#include "store/own_schema.h"
#include "store/sqlite_error.h"
#include "store/sqlite_statement.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace qv::store {

namespace {

// A connection of its own, released on every path out.
class Connection {
public:
    explicit Connection(const QString& path)
    {
        // Never creates the file: a missing auction is an error, not a new one.
        const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK) {
            const QString message = db_ != nullptr ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString();
            sqlite3_close(db_);
            db_ = nullptr;
            raiseSqliteMessage(rc, message, path);
        }
    }
    ~Connection() { sqlite3_close(db_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* get() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

} // namespace

QString compactionFailureText(const Error& error)
{
    return errorText(ErrorLayout::Command, error) + QStringLiteral("\rThe database was left as it was.");
}

void compactDatabase(const QString& path, std::chrono::milliseconds wait)
{
    if (!QFileInfo(path).isFile())
        throw Error(err::EngineFileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    Connection connection(path);
    sqlite3_extended_result_codes(connection.get(), 0);
    sqlite3_busy_timeout(connection.get(), static_cast<int>(wait.count()));
    secureConnection(connection.get());
    try {
        // A file that is not a database fails on its first read.
        exec(connection.get(), QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (const Error&) {
        throw Error(err::NotADatabase, QStringLiteral("Unrecognized database format '%1'.").arg(path));
    }
    refuseForeignSchemaObjects(connection.get(), path);
    // An in-place VACUUM takes the file's exclusive lock (waiting up to the
    // busy timeout for readers and writers to finish) and rewrites it inside
    // one journaled transaction: a failure or a crash rolls back to the file
    // as it was.
    try {
        exec(connection.get(), QStringLiteral("VACUUM"));
    } catch (const Error& error) {
        if (error.number() == err::TableInUse)
            throw Error(err::FileInUse,
                        QStringLiteral("The auction database '%1' is in use by another program; it was "
                                       "not compacted.")
                            .arg(path));
        throw;
    }
}

} // namespace qv::store
