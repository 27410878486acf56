#pragma once

#include <QString>
#include <QStringList>

namespace qv {

// The columns of a supplied table that the program's own statements read
// (grid orders, the round summary, the standings, the analyses): a round
// results file whose table lacks one of them is refused. Empty for a table
// the program reads by its name alone, or not at all.
QStringList usedColumnsOf(const QString& suppliedTable);

} // namespace qv
