#pragma once

#include <QString>

namespace qv::store {

// Every name and text a statement carries is written by these three, so that
// no value typed, imported or listed can end a name or a text early.

// A name as the dialect writes it: between square brackets, a closing
// bracket inside it doubled ("[Bob]]s Bids]"), which the dialect reads back
// as one. An opening bracket inside a name stays as it is: the dialect
// refuses such a name with its syntax error.
QString bracketName(const QString& name);

// A name as SQLite reads it: between double quotes, a double quote inside
// it doubled.
QString quoteName(const QString& name);

// A text as a literal: between apostrophes, or the double quotes the
// dialect reads as well, that quote doubled inside it.
QString quoteText(const QString& text, QChar quote = QLatin1Char('\''));

} // namespace qv::store
