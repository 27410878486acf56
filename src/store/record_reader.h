#pragma once

#include "store/column_values.h"
#include "store/recordset.h"

#include <vector>

namespace qv::store {

class Statement;

// Reads every row of a prepared SELECT, column by column, into compact values
// typed by their columns' declared types, straight from the engine's values.
class RecordReader {
public:
    // Columns without a declared type take the type expressionTypes gives
    // their name, if any.
    RecordReader(Statement& statement, const std::vector<Field>* knownFields,
                 const std::vector<std::pair<QString, FieldType>>* expressionTypes = nullptr);
    void readAll();
    std::vector<Field> takeFields() { return std::move(fields_); }
    std::vector<ColumnValues> takeColumns() { return std::move(columns_); }

private:
    void read(int column);

    Statement& statement_;
    std::vector<Field> fields_;
    std::vector<ColumnValues> columns_;
};

} // namespace qv::store
