#include "store/record_reader.h"

#include "store/sqlite_statement.h"

#include <QDateTime>

namespace qv::store {

namespace {
// A column with more distinct texts than this is not worth sharing.
constexpr qsizetype kMaxSharedTexts = 20000;
} // namespace

RecordReader::RecordReader(Statement& statement, const std::vector<Field>* knownFields)
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
        } else {
            f.type = fieldTypeOf(declared);
        }
        fields_.push_back(f);
    }
    texts_.resize(fields_.size());
}

void RecordReader::readAll()
{
    const int n = static_cast<int>(fields_.size());
    std::vector<bool> typed(fields_.size(), false);
    while (statement_.step()) {
        for (int i = 0; i < n; ++i) {
            values_.push_back(read(i));
            Field& f = fields_[size_t(i)];
            // An undeclared column takes its type from its first value.
            if (f.typeFromValues && !typed[size_t(i)] && !values_.back().isNull()) {
                typed[size_t(i)] = true;
                const int t = sqlite3_column_type(statement_.get(), i);
                f.type = t == SQLITE_INTEGER ? FieldType::Integer
                         : t == SQLITE_FLOAT ? FieldType::Double
                                             : FieldType::Text;
            }
        }
    }
}

QVariant RecordReader::read(int column)
{
    sqlite3_stmt* s = statement_.get();
    const int storage = sqlite3_column_type(s, column);
    if (storage == SQLITE_NULL)
        return {};
    const Field& f = fields_[size_t(column)];
    switch (f.type) {
    case FieldType::Integer:
    case FieldType::Boolean:
        if (storage == SQLITE_INTEGER) {
            const sqlite3_int64 v = sqlite3_column_int64(s, column);
            return v >= INT32_MIN && v <= INT32_MAX ? QVariant(int(v)) : QVariant(qint64(v));
        }
        break;
    case FieldType::Double:
    case FieldType::Currency:
        if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT)
            return sqlite3_column_double(s, column);
        break;
    case FieldType::Date:
        if (storage == SQLITE_TEXT)
            return dateFromStorage(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, column)),
                                  sqlite3_column_bytes(s, column)));
        break;
    case FieldType::Text:
    case FieldType::Memo:
        break;
    }
    if (storage == SQLITE_INTEGER) {
        const sqlite3_int64 v = sqlite3_column_int64(s, column);
        return v >= INT32_MIN && v <= INT32_MAX ? QVariant(int(v)) : QVariant(qint64(v));
    }
    if (storage == SQLITE_FLOAT)
        return sqlite3_column_double(s, column);
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    const int bytes = sqlite3_column_bytes(s, column);
    auto& shared = texts_[size_t(column)];
    if (shared.size() >= kMaxSharedTexts)
        return QString::fromUtf8(p, bytes);
    const QByteArray raw = QByteArray::fromRawData(p, bytes);
    auto it = shared.constFind(raw);
    if (it != shared.constEnd())
        return it.value();
    const QString text = QString::fromUtf8(p, bytes);
    shared.insert(QByteArray(p, bytes), text);
    return text;
}

} // namespace qv::store
