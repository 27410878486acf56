#pragma once

#include <QString>

namespace qv::bench {

// Imports the round in zip into the open auction (session's
// CurrentDatabase) by the same steps as ImportRound, timing each step, and
// returns the times as one line of text.
QString importStages(const QString& zip, int round);

} // namespace qv::bench
