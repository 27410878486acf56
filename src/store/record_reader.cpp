#include "store/record_reader.h"

#include "store/sqlite_statement.h"

#include <QDateTime>

namespace qv::store {

RecordReader::RecordReader(Statement& statement, const std::vector<Field>* knownFields,
                           const std::vector<std::pair<QString, FieldType>>* expressionTypes)
    : statement_(statement)
{
    const int n = statement.columnCount();
    for (int i = 0; i < n; ++i) {
        Field f;
        f.name = statement.columnName(i);
        const QString declared = statement.declaredType(i);
        if (knownFields && size_t(i) < knownFields->size()) {
            f.type = (*knownFields)[size_t(i)].type;
            f.typeFromValues = (*knownFields)[size_t(i)].typeFromValues;
        } else if (declared.isEmpty()) {
            f.typeFromValues = true;
            f.type = FieldType::Double;
            if (expressionTypes)
                for (const auto& [name, type] : *expressionTypes)
                    if (name == f.name) {
                        f.type = type;
                        f.typeFromValues = false;
                    }
        } else {
            f.type = fieldTypeOf(declared);
        }
        fields_.push_back(f);
    }
    columns_.resize(fields_.size());
    typed_.assign(fields_.size(), false);
}

void RecordReader::readAll()
{
    while (statement_.step())
        readRow();
    finish();
}

void RecordReader::readRow()
{
    const int n = static_cast<int>(fields_.size());
    for (int i = 0; i < n; ++i) {
        read(i);
        Field& f = fields_[size_t(i)];
        // An undeclared column takes its type from its first value.
        if (f.typeFromValues && !typed_[size_t(i)]) {
            const int t = sqlite3_column_type(statement_.get(), i);
            if (t == SQLITE_NULL)
                continue;
            typed_[size_t(i)] = true;
            f.type = t == SQLITE_INTEGER ? FieldType::Integer
                     : t == SQLITE_FLOAT ? FieldType::Double
                                         : FieldType::Text;
        }
    }
}

void RecordReader::readNullRow()
{
    for (ColumnValues& column : columns_)
        column.appendNull();
}

void RecordReader::finish()
{
    for (ColumnValues& column : columns_)
        column.finishReading();
}

void RecordReader::read(int column)
{
    sqlite3_stmt* s = statement_.get();
    ColumnValues& values = columns_[size_t(column)];
    const int storage = sqlite3_column_type(s, column);
    if (storage == SQLITE_NULL)
        return values.appendNull();
    const auto text = [&] {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
        return std::string_view(p, static_cast<size_t>(sqlite3_column_bytes(s, column)));
    };
    switch (fields_[size_t(column)].type) {
    case FieldType::Double:
    case FieldType::Currency:
        if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT)
            return values.appendDouble(sqlite3_column_double(s, column));
        break;
    case FieldType::Date:
        if (storage == SQLITE_TEXT)
            return values.appendDate(text());
        break;
    case FieldType::Integer:
    case FieldType::Boolean:
    case FieldType::Text:
    case FieldType::Memo:
        break;
    }
    if (storage == SQLITE_INTEGER)
        return values.appendInteger(sqlite3_column_int64(s, column));
    if (storage == SQLITE_FLOAT)
        return values.appendDouble(sqlite3_column_double(s, column));
    return values.appendText(text());
}

} // namespace qv::store
