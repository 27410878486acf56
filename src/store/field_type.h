#pragma once

#include <QString>
#include <QVariant>

namespace qv::store {

// The engine's field types. In SQLite each is kept as the declared type of
// its column, so that values read back with the type they were written as.
enum class FieldType { Integer, Double, Currency, Date, Text, Memo, Boolean };

// The declared column type for a field type: "LONG", "DOUBLE", "CURRENCY",
// "DATETIME", "TEXT(n)", "LONGTEXT" (memo), "YESNO".
QString declaredType(FieldType type, int textLength = 255);

// The field type a declared column type stands for ("" and unknown: Double
// when numeric affinity, else Text).
FieldType fieldTypeOf(const QString& declared);

// The declared length of a TEXT(n) / VARCHAR(n) column, 255 for a bare Text,
// 0 when there is no limit.
int declaredLength(const QString& declared);

// One column of a CREATE TABLE for SQLite: quoted name, declared type, and
// (with lengthCheck) the CHECK that enforces a text length.
QString columnDefinition(const QString& name, FieldType type, int textLength = 255, bool lengthCheck = true);

// Dates are stored as ISO-8601 text ("2026-03-04" or "2026-03-04 10:30:00").
QString dateToStorage(const QVariant& value);
QVariant dateFromStorage(const QString& text);

} // namespace qv::store
