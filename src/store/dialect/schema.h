#pragma once

#include "store/field_type.h"

#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace qv::store::dialect {

struct SchemaColumn {
    QString name;
    FieldType type = FieldType::Double;
    bool typeKnown = true; // false: a column whose type its values decide
};

// What the translator may know of the tables a statement names, so that it
// computes with dates as dates, compares texts without case and refuses a
// letter where a number is wanted.
class Schema {
public:
    virtual ~Schema() = default;
    // A table's columns in order, or nothing when there is no such table.
    virtual std::optional<std::vector<SchemaColumn>> columnsOf(const QString& table) const = 0;
    // The first column of a query's rows, run at once (a crosstab's column
    // headings), or nothing when there is no database to run it on. Errors
    // name shownAs.
    virtual std::optional<std::vector<QVariant>> firstColumnOf(const QString& sql,
                                                               const QString& shownAs) const
    {
        (void)sql;
        (void)shownAs;
        return std::nullopt;
    }
};

// The type of a value as the translator works it out.
enum class ValueType { Unknown, Null, Boolean, Integer, Double, Currency, Date, Text };

inline bool isNumeric(ValueType t)
{
    return t == ValueType::Boolean || t == ValueType::Integer || t == ValueType::Double ||
           t == ValueType::Currency;
}

ValueType valueTypeOf(const SchemaColumn& column);
std::optional<FieldType> fieldTypeFor(ValueType type);

} // namespace qv::store::dialect
