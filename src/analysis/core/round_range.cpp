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

std::optional<RoundRange> askRoundRange(AnalysisKind kind, int importedRounds, AnalysisDialogs& dialogs,
                                        Prompter& prompter)
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
        if (range.from > importedRounds) {
            prompter.errorMessage(profileOf(kind).startBeyondMessage, errorTitle, Icon::Exclamation);
            dialogs.showRounds();
            continue;
        }
        if (range.to > importedRounds) {
            const Answer answer =
                prompter.message(endBeyondQuestion(), errorTitle, Icon::None, Buttons::YesNo, Answer::Yes);
            if (answer == Answer::Yes) {
                range.to = importedRounds;
                return range;
            }
            dialogs.showRounds();
            continue;
        }
        return range;
    }
}

} // namespace qv::analysis
