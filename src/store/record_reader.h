#pragma once

#include "store/column_values.h"
#include "store/recordset.h"

#include <sqlite3.h>

#include <vector>

namespace qv::store {

class Statement;

// The fields of a prepared SELECT: declared types, or the types known for
// its expressions' names; a column with neither takes its type from its
// first value (typeFromValues).
std::vector<Field> statementFields(Statement& statement, const std::vector<Field>* knownFields,
                                   const std::vector<std::pair<QString, FieldType>>* expressionTypes);

// The current row's value of a column as a field of this type holds it:
// numbers of a fraction column as fractions, dates as their stored text
// (kind Other). Texts point into the engine's row.
CellView readCell(sqlite3_stmt* statement, int column, FieldType type);

// An undeclared column takes its type from its first value that is not null.
void typeFromValue(Field& field, bool& typed, sqlite3_stmt* statement, int column);

// Reads every row of a prepared SELECT, column by column, into compact values
// typed by their columns' declared types, straight from the engine's values.
class RecordReader {
public:
    // Columns without a declared type take the type expressionTypes gives
    // their name, if any.
    RecordReader(Statement& statement, const std::vector<Field>* knownFields,
                 const std::vector<std::pair<QString, FieldType>>* expressionTypes = nullptr);
    void readAll();
    // The row the statement was last stepped to, or a row of nulls for one
    // that is gone; finish() once the last row is read.
    void readRow();
    void readNullRow();
    void finish();
    std::vector<Field> takeFields() { return std::move(fields_); }
    std::vector<ColumnValues> takeColumns() { return std::move(columns_); }

private:
    void read(int column);

    Statement& statement_;
    std::vector<Field> fields_;
    std::vector<bool> typed_; // an undeclared column's type is taken from its first value
    std::vector<ColumnValues> columns_;
};

} // namespace qv::store
