#pragma once

#include "store/field_type.h"

#include <QString>

#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace qv::store::sample {

// One column of a generated table.
struct ColumnSpec {
    const char* name;
    FieldType type;
    int textLength = 0;
};

// Creates a table and appends rows to it through one prepared insert; the
// values of a row are added in column order. Throws qv::Error when the
// engine refuses.
class TableWriter {
public:
    TableWriter(sqlite3* db, const QString& table, const std::vector<ColumnSpec>& columns);
    ~TableWriter();
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    TableWriter& add(qint64 value);
    TableWriter& add(int value) { return add(static_cast<qint64>(value)); }
    TableWriter& add(double value);
    TableWriter& add(const QString& text);
    TableWriter& addMoney(qint64 dollars) { return add(static_cast<double>(dollars)); }
    TableWriter& addNull();
    void endRow();

private:
    int nextParameter();
    void check(int result, const char* what);

    sqlite3* db_;
    sqlite3_stmt* insert_ = nullptr;
    QString table_;
    int columns_ = 0;
    int bound_ = 0;
};

// Runs one statement without a result; throws qv::Error when it fails.
void executeStatement(sqlite3* db, const QString& sql);

} // namespace qv::store::sample
