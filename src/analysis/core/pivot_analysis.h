#pragma once

#include "analysis/core/analysis_kind.h"

#include <functional>

namespace qv {
class Prompter;
}

namespace qv::store {
class Database;
}

namespace qv::analysis {

class AnalysisDialogs;
class SpreadsheetApplication;

// What an analysis runs on: its host's database, dialogs, prompter and
// spreadsheet application (made by the host on first use).
struct AnalysisHost {
    std::function<store::Database&()> database;
    AnalysisDialogs& dialogs;
    Prompter& prompter;
    std::function<SpreadsheetApplication&()> spreadsheet;
};

// The rounds imported into the auction ([sysRounds]): the highest round an
// analysis accepts.
int importedRoundCount(store::Database& database);

enum class AnalysisOutcome {
    Built,  // a workbook with its pivot table, application visible
    Ended,  // the user cancelled or chose nothing: no message
    Failed, // the error report was shown
};

// Asks for a round range and bid type (and, but for the rounds analysis, the
// licences or bidders), copies the matching bids into a new workbook cell by
// cell while the progress window counts, and sets up "PivotTable1" over them.
AnalysisOutcome runPivotAnalysis(AnalysisKind kind, const AnalysisHost& host);

} // namespace qv::analysis
