#include "store/database.h"

#include "common/error.h"
#include "store/jet/jet_reader.h"
#include "store/open_databases.h"
#include "store/sqlite_statement.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

#include <sqlite3.h>

namespace qv::store {

// A Jet round database is read once, in full, into memory; from then on it
// answers like any other database, read-only.
std::shared_ptr<Database> Database::openJet(const QString& path)
{
    ConnectionSetup setup;
    setup.dialect = true;
    Connection db = Connection::inMemory(setup);
    const QStringList tables = jet::copyJetIntoSqlite(path, db);
    std::shared_ptr<Database> database(new Database(QFileInfo(path).absoluteFilePath(), std::move(db), true));
    database->engineTables_ = tables;
    openDatabases().add(database);
    return database;
}

bool convertToOwnFormat(const QString& path)
{
    if (!jet::isJetDatabase(path))
        return false;
    const QString converted = path + QStringLiteral(".converting");
    QFile::remove(converted);
    {
        auto target = Database::create(converted);
        try {
            jet::copyJetIntoSqlite(path, target->handle());
        } catch (...) {
            target->close();
            QFile::remove(converted);
            throw;
        }
        target->close();
    }
    // The rename replaces the Jet file in one step.
    if (std::rename(QFile::encodeName(converted).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(converted);
        throw Error(err::PathFileAccess,
                    QStringLiteral("Path/File access error: could not replace '%1'.").arg(path));
    }
    return true;
}

} // namespace qv::store
