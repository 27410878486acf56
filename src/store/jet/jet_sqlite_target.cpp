#include "store/jet/jet_sqlite_target.h"

#include "common/error.h"
#include "common/vector_state.h"
#include "store/sql_quote.h"

#include <sqlite3.h>

namespace qv::store::jet {

namespace {

const char* const savepointName = "qv_jet_copy";

[[noreturn]] void throwSqlite(sqlite3* db, const QString& sourcePath, const QString& what)
{
    throw Error(err::EngineFailure, QStringLiteral("Copying '%1' failed: %2: %3")
                                        .arg(sourcePath, what, QString::fromUtf8(sqlite3_errmsg(db))));
}

void run(sqlite3* db, const QByteArray& sql, const QString& sourcePath)
{
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throwSqlite(db, sourcePath, QString::fromUtf8(sql));
}

} // namespace

SqliteCopyScope::SqliteCopyScope(sqlite3* db, QString sourcePath, QString schema, bool lengthChecks)
    : db_(db), sourcePath_(std::move(sourcePath)), schema_(std::move(schema)), lengthChecks_(lengthChecks)
{
    run(db_, QByteArray("SAVEPOINT ") + savepointName, sourcePath_);
    open_ = true;
}

SqliteCopyScope::~SqliteCopyScope()
{
    if (!open_)
        return;
    const QByteArray name(savepointName);
    sqlite3_exec(db_, ("ROLLBACK TO " + name).constData(), nullptr, nullptr, nullptr);
    sqlite3_exec(db_, ("RELEASE " + name).constData(), nullptr, nullptr, nullptr);
}

void SqliteCopyScope::commit()
{
    run(db_, QByteArray("RELEASE ") + savepointName, sourcePath_);
    open_ = false;
}

SqliteTableWriter::SqliteTableWriter(const SqliteCopyScope& scope, const QString& table,
                                     const std::vector<TargetColumn>& columns)
    : scope_(scope), table_(table)
{
    QStringList definitions;
    QStringList names;
    QStringList parameters;
    for (const TargetColumn& column : columns) {
        definitions << columnDefinition(column.name, column.type, column.textLength, scope_.lengthChecks());
        names << quoteName(column.name);
        parameters << QStringLiteral("?");
    }
    const QString qualified = quoteName(scope_.schema()) + QLatin1Char('.') + quoteName(table);
    const QByteArray create = (QStringLiteral("CREATE TABLE ") + qualified + QStringLiteral(" (") +
                               definitions.join(QStringLiteral(", ")) + QLatin1Char(')'))
                                  .toUtf8();
    if (sqlite3_exec(scope_.db(), create.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(scope_.db()));
        if (message.contains(QLatin1String("already exists")))
            throw Error(err::TableExists, QStringLiteral("Table '%1' already exists.").arg(table));
        fail(QStringLiteral("creating the table"));
    }
    const QByteArray insert = (QStringLiteral("INSERT INTO ") + qualified + QStringLiteral(" (") +
                               names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                               parameters.join(QStringLiteral(", ")) + QLatin1Char(')'))
                                  .toUtf8();
    if (sqlite3_prepare_v3(scope_.db(), insert.constData(), int(insert.size()), SQLITE_PREPARE_PERSISTENT,
                           &insert_, nullptr) != SQLITE_OK)
        fail(QStringLiteral("preparing the insert"));
}

SqliteTableWriter::~SqliteTableWriter()
{
    sqlite3_finalize(insert_);
}

void SqliteTableWriter::fail(const QString& what) const
{
    throwSqlite(scope_.db(), scope_.sourcePath(), QStringLiteral("table '%1', %2").arg(table_, what));
}

void SqliteTableWriter::bindNull(int column)
{
    sqlite3_bind_null(insert_, column + 1);
}

void SqliteTableWriter::bindInteger(int column, qint64 value)
{
    sqlite3_bind_int64(insert_, column + 1, value);
}

void SqliteTableWriter::bindReal(int column, double value)
{
    sqlite3_bind_double(insert_, column + 1, value);
}

void SqliteTableWriter::bindText(int column, const char* utf8, int length)
{
    sqlite3_bind_text(insert_, column + 1, utf8, length, SQLITE_STATIC);
}

void SqliteTableWriter::bindBlob(int column, const void* data, int length)
{
    sqlite3_bind_blob(insert_, column + 1, data, length, SQLITE_STATIC);
}

void SqliteTableWriter::insertRow()
{
    clearUpperVectorState();
    const int rc = sqlite3_step(insert_);
    sqlite3_reset(insert_);
    if (rc != SQLITE_DONE)
        fail(QStringLiteral("inserting a row"));
}

} // namespace qv::store::jet
