#pragma once

#include <QString>
#include <QStringList>

#include <sqlite3.h>

namespace qv::store {

// One prepared SQLite statement, finalised when it goes out of scope.
// Failures raise the matching engine error.
class Statement {
public:
    // Errors name shownAs when given (the statement as the user wrote it), else sql.
    Statement(sqlite3* db, const QString& sql, QStringList* tablesRead = nullptr,
              const QString& shownAs = {});
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // True while a row is available.
    bool step();
    void reset();
    sqlite3_stmt* get() const { return stmt_; }
    const QString& sql() const { return sql_; }

    int columnCount() const { return sqlite3_column_count(stmt_); }
    QString columnName(int i) const { return QString::fromUtf8(sqlite3_column_name(stmt_, i)); }
    QString declaredType(int i) const;

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    QString sql_;
    QString shownAs_;
};

// Runs a statement that returns no rows.
void exec(sqlite3* db, const QString& sql);

// Sets a connection up as SQLite advises for database files from elsewhere:
// defensive mode on (no writable schema, no journal switched off), and the
// schema untrusted (its triggers, views and indexes call only innocuous
// functions).
void secureConnection(sqlite3* db);

} // namespace qv::store
