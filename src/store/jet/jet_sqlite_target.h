#pragma once

#include "store/field_type.h"

#include <QString>
#include <QStringList>

#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace qv::store::jet {

// All the copying into one SQLite connection happens inside one savepoint: released when the
// copy is complete, rolled back when an exception leaves before that.
class SqliteCopyScope {
public:
    // The tables go into schema of db; without lengthChecks their texts are
    // not checked against the lengths declared (a copy read only to be
    // copied again, into tables that check them).
    SqliteCopyScope(sqlite3* db, QString sourcePath, QString schema = QStringLiteral("main"),
                    bool lengthChecks = true);
    ~SqliteCopyScope();
    SqliteCopyScope(const SqliteCopyScope&) = delete;
    SqliteCopyScope& operator=(const SqliteCopyScope&) = delete;

    void commit();

    sqlite3* db() const { return db_; }
    const QString& sourcePath() const { return sourcePath_; }
    const QString& schema() const { return schema_; }
    bool lengthChecks() const { return lengthChecks_; }

private:
    sqlite3* db_;
    QString sourcePath_;
    QString schema_;
    bool lengthChecks_;
    bool open_ = false;
};

struct TargetColumn {
    QString name;
    FieldType type = FieldType::Memo;
    int textLength = 255;
};

// One table created in the destination and its prepared INSERT, one parameter per column.
class SqliteTableWriter {
public:
    SqliteTableWriter(const SqliteCopyScope& scope, const QString& table,
                      const std::vector<TargetColumn>& columns);
    ~SqliteTableWriter();
    SqliteTableWriter(const SqliteTableWriter&) = delete;
    SqliteTableWriter& operator=(const SqliteTableWriter&) = delete;

    // Parameters are 0-based column indexes here.
    void bindNull(int column);
    void bindInteger(int column, qint64 value);
    void bindReal(int column, double value);
    // The text must stay valid until insertRow().
    void bindText(int column, const char* utf8, int length);
    void bindBlob(int column, const void* data, int length);
    void insertRow();

private:
    [[noreturn]] void fail(const QString& what) const;

    const SqliteCopyScope& scope_;
    QString table_;
    sqlite3_stmt* insert_ = nullptr;
};

} // namespace qv::store::jet
