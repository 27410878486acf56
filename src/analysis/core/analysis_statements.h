#pragma once

#include "analysis/core/analysis_kind.h"

#include <QString>
#include <QStringList>

namespace qv::analysis {

// The distinct licences or bidders that bid in a round range, offered in the
// criteria list in the engine's order. Empty for the rounds analysis, which
// offers none.
QString candidateStatement(AnalysisKind kind, int from, int to);

// "IN('A', 'B') ": the chosen names in quotes, in list order, followed by one
// blank. A quote inside a name is doubled, so names like "O'Brien" match.
QString inList(const QStringList& names);

// The bids of the range (and of the chosen names) joined to their markets,
// eleven columns from [Auction ID] to [Net Bid Amount].
QString analysisStatement(AnalysisKind kind, int from, int to, const QString& chosenList = {});

} // namespace qv::analysis
