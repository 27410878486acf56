#include "store/sqlite_statement.h"

#include "common/vector_state.h"
#include "store/sqlite_error.h"

namespace qv::store {

namespace {

// Records the tables a statement reads while it is prepared.
int collectReads(void* user, int action, const char* table, const char*, const char*, const char*)
{
    if (action == SQLITE_READ && table) {
        auto* tables = static_cast<QStringList*>(user);
        const QString name = QString::fromUtf8(table);
        if (!name.startsWith(QLatin1String("sqlite_")) && !tables->contains(name, Qt::CaseInsensitive))
            tables->append(name);
    }
    return SQLITE_OK;
}

} // namespace

Statement::Statement(sqlite3* db, const QString& sql, QStringList* tablesRead, const QString& shownAs)
    : db_(db), sql_(sql), shownAs_(shownAs.isEmpty() ? sql : shownAs)
{
    const QByteArray utf8 = sql.toUtf8();
    clearUpperVectorState();
    if (tablesRead)
        sqlite3_set_authorizer(db, collectReads, tablesRead);
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), static_cast<int>(utf8.size()), &stmt_, &tail);
    if (tablesRead)
        sqlite3_set_authorizer(db, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        raiseSqliteError(db, rc, shownAs_);
    }
    if (!stmt_) // nothing but white space or comments
        raiseSqliteMessage(SQLITE_ERROR, QStringLiteral("incomplete input"), shownAs_);
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

bool Statement::step()
{
    clearUpperVectorState();
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // The statement's own error text is kept by the connection until reset.
    const QString message = QString::fromUtf8(sqlite3_errmsg(db_));
    sqlite3_reset(stmt_);
    raiseSqliteMessage(rc, message, errorContext(db_, rc, shownAs_));
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

QString Statement::declaredType(int i) const
{
    const char* t = sqlite3_column_decltype(stmt_, i);
    return t ? QString::fromUtf8(t) : QString();
}

void exec(sqlite3* db, const QString& sql)
{
    Statement s(db, sql);
    while (s.step()) {
    }
}

void secureConnection(sqlite3* db)
{
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
}

} // namespace qv::store
