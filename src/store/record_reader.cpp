#include "store/record_reader.h"

#include "store/sqlite_statement.h"

#include <QDateTime>

namespace qv::store {

std::vector<Field> statementFields(Statement& statement, const std::vector<Field>* knownFields,
                                   const std::vector<std::pair<QString, FieldType>>* expressionTypes)
{
    std::vector<Field> fields;
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
        fields.push_back(f);
    }
    return fields;
}

CellView readCell(sqlite3_stmt* s, int column, FieldType type)
{
    CellView view;
    const int storage = sqlite3_column_type(s, column);
    if (storage == SQLITE_NULL)
        return view;
    const auto text = [&] {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
        return std::string_view(p, static_cast<size_t>(sqlite3_column_bytes(s, column)));
    };
    switch (type) {
    case FieldType::Double:
    case FieldType::Currency:
        if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT) {
            view.kind = CellView::Kind::Double;
            view.number = sqlite3_column_double(s, column);
            return view;
        }
        break;
    case FieldType::Date:
        if (storage == SQLITE_TEXT) {
            view.kind = CellView::Kind::Other;
            view.text = text();
            return view;
        }
        break;
    case FieldType::Integer:
    case FieldType::Boolean:
    case FieldType::Text:
    case FieldType::Memo:
        break;
    }
    if (storage == SQLITE_INTEGER) {
        view.kind = CellView::Kind::Integer;
        view.integer = sqlite3_column_int64(s, column);
    } else if (storage == SQLITE_FLOAT) {
        view.kind = CellView::Kind::Double;
        view.number = sqlite3_column_double(s, column);
    } else {
        view.kind = CellView::Kind::Text;
        view.text = text();
    }
    return view;
}

void typeFromValue(Field& field, bool& typed, sqlite3_stmt* statement, int column)
{
    if (!field.typeFromValues || typed)
        return;
    const int t = sqlite3_column_type(statement, column);
    if (t == SQLITE_NULL)
        return;
    typed = true;
    field.type = t == SQLITE_INTEGER ? FieldType::Integer
                 : t == SQLITE_FLOAT ? FieldType::Double
                                     : FieldType::Text;
}

RecordReader::RecordReader(Statement& statement, const std::vector<Field>* knownFields,
                           const std::vector<std::pair<QString, FieldType>>* expressionTypes)
    : statement_(statement), fields_(statementFields(statement, knownFields, expressionTypes))
{
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
        // An undeclared column takes its type from its first value.
        bool done = typed_[size_t(i)];
        typeFromValue(fields_[size_t(i)], done, statement_.get(), i);
        typed_[size_t(i)] = done;
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
    ColumnValues& values = columns_[size_t(column)];
    const CellView cell = readCell(statement_.get(), column, fields_[size_t(column)].type);
    switch (cell.kind) {
    case CellView::Kind::Null:
        return values.appendNull();
    case CellView::Kind::Integer:
        return values.appendInteger(cell.integer);
    case CellView::Kind::Double:
        return values.appendDouble(cell.number);
    case CellView::Kind::Text:
        return values.appendText(cell.text);
    case CellView::Kind::Other:
        return values.appendDate(cell.text);
    }
}

} // namespace qv::store
