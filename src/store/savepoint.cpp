#include "store/savepoint.h"

#include "store/field_type.h"
#include "store/sql_quote.h"
#include "store/sqlite_statement.h"

#include <sqlite3.h>

namespace qv::store {

Savepoint::Savepoint(sqlite3* db, QString name) : db_(db), name_(quoteName(name))
{
    exec(db_, QStringLiteral("SAVEPOINT ") + name_);
}

Savepoint::~Savepoint()
{
    if (!open_)
        return;
    // Undo and end the savepoint; a failure here has nothing left to undo.
    const QByteArray undo =
        (QStringLiteral("ROLLBACK TO ") + name_ + QStringLiteral("; RELEASE ") + name_).toUtf8();
    sqlite3_exec(db_, undo.constData(), nullptr, nullptr, nullptr);
}

void Savepoint::release()
{
    exec(db_, QStringLiteral("RELEASE ") + name_);
    open_ = false;
}

WriteTransaction::WriteTransaction(sqlite3* db) : db_(db)
{
    exec(db_, QStringLiteral("BEGIN IMMEDIATE"));
}

WriteTransaction::~WriteTransaction()
{
    if (open_ && sqlite3_get_autocommit(db_) == 0)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void WriteTransaction::commit()
{
    exec(db_, QStringLiteral("COMMIT"));
    open_ = false;
}

} // namespace qv::store
