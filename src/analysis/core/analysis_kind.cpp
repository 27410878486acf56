#include "analysis/core/analysis_kind.h"

namespace qv::analysis {

namespace {

// The three lines differ only in how their second and third lines are centred.
QString startBeyond(const char* secondLine, const char* thirdLine)
{
    return QStringLiteral("Error! The starting round you have requested is\r") + QLatin1String(secondLine) +
           QLatin1Char('\r') + QLatin1String(thirdLine);
}

} // namespace

const AnalysisProfile& profileOf(AnalysisKind kind)
{
    static const AnalysisProfile markets{
        AnalysisKind::Markets,
        "markets",
        "MarketsAnalysis",
        QStringLiteral("License Name"),
        QStringLiteral("Select the Licenses to Analyze"),
        startBeyond("     outside the range of imported rounds.", "               Please try again."),
        false};
    static const AnalysisProfile bidders{
        AnalysisKind::Bidders,
        "bidders",
        "BiddersAnalysis",
        QStringLiteral("Bidder"),
        QStringLiteral("Select the Bidders to Analyze"),
        startBeyond("      outside the range of imported rounds.", "               Please try again."),
        true};
    static const AnalysisProfile rounds{
        AnalysisKind::Rounds,
        "rounds",
        "RoundsAnalysis",
        QString(),
        QString(),
        startBeyond("     outside the range of imported rounds.", "                Please try again."),
        false};
    switch (kind) {
    case AnalysisKind::Markets:
        return markets;
    case AnalysisKind::Bidders:
        return bidders;
    case AnalysisKind::Rounds:
        break;
    }
    return rounds;
}

QString endBeyondQuestion()
{
    return QStringLiteral(" Error! The ending round you have requested is\r"
                          "      outside the range of imported rounds.\r"
                          "Would you like to use all available rounds after\r"
                          "             the specified starting round?");
}

} // namespace qv::analysis
