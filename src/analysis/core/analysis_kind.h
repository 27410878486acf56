#pragma once

#include <QString>

namespace qv::analysis {

// The three pivot analyses share one algorithm; these are what sets them apart.
enum class AnalysisKind { Markets, Bidders, Rounds };

struct AnalysisProfile {
    AnalysisKind kind;
    const char* commandName;    // "markets", as quorvane-cli names it
    const char* routineName;    // "MarketsAnalysis", as the grid window offers it
    QString criteriaColumn;     // column of [All Bids] offered in the criteria list, empty for none
    QString criteriaPrompt;     // the criteria list's prompt
    QString startBeyondMessage; // the starting round lies beyond the imported rounds
    bool unloadsRoundsOnAccept; // the round dialog forgets its entry once a range is accepted
};

const AnalysisProfile& profileOf(AnalysisKind kind);

// The question asked when the ending round lies beyond the imported rounds:
// the same for every analysis.
QString endBeyondQuestion();

} // namespace qv::analysis
