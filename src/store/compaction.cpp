#include "store/compaction.h"

#include "common/error.h"
#include "store/connection.h"
#include "store/own_schema.h"
#include "store/sqlite_error.h"
#include "store/sqlite_statement.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace qv::store {

QString compactionFailureText(const Error& error)
{
    return errorText(ErrorLayout::Command, error) + QStringLiteral("\rThe database was left as it was.");
}

void compactDatabase(const QString& path, std::chrono::milliseconds wait)
{
    if (!QFileInfo(path).isFile())
        throw Error(err::EngineFileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    // Never creates the file: a missing auction is an error, not a new one.
    // No dialect: only the engine's own statements run here.
    ConnectionSetup setup;
    setup.busyWait = wait;
    const Connection connection(path, setup);
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
