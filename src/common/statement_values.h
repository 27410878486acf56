#pragma once

#include <QString>

namespace qv {

// Whether a typed value counts as a number when a statement is built: plain
// integers and decimals, with blanks around them, a sign and an exponent.
bool isNumericText(const QString& text);

// True when a round text is a whole number (digits only, at most nine): the
// only round text a statement may hold.
bool isRoundNumber(const QString& round);

// A text between quote characters, the quote doubled inside it, so that the
// engine reads the value exactly as typed.
QString quotedText(const QString& text, QChar quote);

} // namespace qv
