#pragma once

#include "analysis/core/analysis_kind.h"

#include <functional>
#include <optional>

namespace qv {
class Prompter;
}

namespace qv::analysis {

class AnalysisDialogs;

struct RoundRange {
    int from = 0;
    int to = 0;
};

// Shows the round dialog until it holds a usable range. A starting round
// beyond the imported rounds asks again; an ending round beyond them asks
// whether to stop at the last imported round. Cancel or an empty From ends
// without a message (and unloads the dialog). No further checks: From may be
// 0 and To may lie below From. The imported rounds are counted each time an
// entry is checked: rounds imported meanwhile count.
std::optional<RoundRange> askRoundRange(AnalysisKind kind, const std::function<int()>& importedRounds,
                                        AnalysisDialogs& dialogs, Prompter& prompter);

} // namespace qv::analysis
