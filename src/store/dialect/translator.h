#pragma once

#include "store/field_type.h"

#include <QString>

#include <vector>

namespace qv::store::dialect {

enum class StatementKind {
    Select,        // a query: sql is the SQLite SELECT
    MakeTable,     // SELECT ... INTO target: sql is the SELECT without INTO
    InsertIn,      // INSERT INTO target IN "path" SELECT ...: sql is the SELECT
    CreateTable,   // CREATE TABLE target (columns)
    AddPrimaryKey, // ALTER TABLE target ADD CONSTRAINT name PRIMARY KEY (keyColumn)
    DropTable,     // DROP TABLE target
    Action,        // DELETE, INSERT, UPDATE: sql runs as it is
};

struct ColumnSpec {
    QString name;
    FieldType type;
    int length = 0;
    bool notNull = false;
    bool primaryKey = false;
};

struct Translation {
    StatementKind kind = StatementKind::Action;
    QString sql;
    QString target;
    QString externalPath;
    QString sourceTable; // InsertIn from a whole table: SELECT * FROM [sourceTable]
    QString constraintName;
    QString keyColumn;
    std::vector<ColumnSpec> columns;
};

// Translates one statement of the program's dialect to SQLite. Malformed or
// unsupported input raises error 3075 (3259 for an unknown field type).
Translation translate(const QString& statement);

// A bare table name ("All Bids", "[All Bids]") as the table it names, or
// empty text when the text is a statement.
QString bareTableName(const QString& text);

// A WHERE expression (a record set's Filter) and an ORDER BY list (its Sort)
// in the dialect, translated to SQLite.
QString translateExpression(const QString& expression);
QString translateOrderBy(const QString& sort);

} // namespace qv::store::dialect
