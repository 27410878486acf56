#pragma once

#include <QString>

#include <optional>

// Format's pictures, as its documentation describes them (English, United States).
namespace qv::store::dialect::format {

// A number by a named number format or a picture of 0 # . , % E+ and
// literals, in up to four sections (positive; negative; zero; Null).
QString number(double value, const QString& picture);
// The fourth section of a number picture: what Null formats as, if it has one.
std::optional<QString> nullSection(const QString& picture);

// A date's serial by a named date format or a picture of d m y h n s q w,
// AM/PM and literals.
QString date(double serial, const QString& picture);
bool isDatePicture(const QString& picture);

// A text by a picture of @ & < > ! and literals, in up to two sections (a
// text; a zero-length text and Null).
QString text(const QString& value, const QString& picture);
// The second section of a text picture: what Null formats as, if it has one.
std::optional<QString> textNullSection(const QString& picture);
bool isTextPicture(const QString& picture);

// Splits a picture at the ';' that stand outside quotes and after no backslash.
QStringList sections(const QString& picture);

} // namespace qv::store::dialect::format
