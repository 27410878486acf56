#pragma once

#include "store/dialect/schema.h"
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
    Action,        // DELETE, INSERT, UPDATE target: sql runs as it is
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
    // The types of the computed columns a SELECT gives (Expr1000, aliases),
    // where the translator knows them.
    std::vector<std::pair<QString, FieldType>> expressionTypes;
};

// Translates one statement of the program's dialect to SQLite. Malformed or
// unsupported input raises error 3075 (3259 for an unknown field type, 3085
// for a function the dialect does not have, 3464 for letters compared with a
// number or a date). With a schema the translator knows the columns' types.
Translation translate(const QString& statement, const Schema* schema = nullptr);

// A bare table name ("All Bids", "[All Bids]") as the table it names, or
// empty text when the text is a statement.
QString bareTableName(const QString& text);

// A WHERE expression (a record set's Filter) and an ORDER BY list (its Sort)
// in the dialect, translated to SQLite for the columns given.
QString translateExpression(const QString& expression, const std::vector<SchemaColumn>& columns = {});
QString translateOrderBy(const QString& sort, const std::vector<SchemaColumn>& columns = {});

} // namespace qv::store::dialect
