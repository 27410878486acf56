#include "analysis/core/round_range.h"

#include "analysis/core/analysis_dialogs.h"
#include "common/prompter.h"

namespace qv::analysis {

namespace {

// The fields hold up to four digits, so a number always fits.
int roundNumber(const QString& digits)
{
    return digits.trimmed().toInt();
}

} // namespace

std::optional<RoundRange> askRoundRange(AnalysisKind kind, const std::function<int()>& importedRounds,
                                        AnalysisDialogs& dialogs, Prompter& prompter)
{
    const QString errorTitle = QStringLiteral("Error");
    dialogs.showRounds();
    for (;;) {
        if (dialogs.roundsCancelled() || dialogs.fromText().trimmed().isEmpty()) {
            dialogs.unloadRounds();
            return std::nullopt;
        }
        RoundRange range;
        range.from = roundNumber(dialogs.fromText());
        range.to = dialogs.toText().trimmed().isEmpty() ? range.from : roundNumber(dialogs.toText());
        const int imported = importedRounds();
        if (range.from > imported) {
            prompter.errorMessage(profileOf(kind).startBeyondMessage, errorTitle, Icon::Exclamation);
            dialogs.showRounds();
            continue;
        }
        if (range.to > imported) {
            const Answer answer =
                prompter.message(endBeyondQuestion(), errorTitle, Icon::None, Buttons::YesNo, Answer::Yes);
            if (answer == Answer::Yes) {
                range.to = imported;
                return range;
            }
            dialogs.showRounds();
            continue;
        }
        return range;
    }
}

} // namespace qv::analysis
