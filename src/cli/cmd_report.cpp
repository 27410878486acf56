#include "cli/commands.h"
#include "cli/standings_output.h"

#include "common/error.h"
#include "common/prompter.h"
#include "common/safe_file.h"
#include "standings/core/auction_history.h"
#include "standings/core/report_html.h"
#include "standings/core/round_standings.h"
#include "standings/core/standings_charts.h"
#include "store/database.h"
#include "summary/core/summary_figures.h"
#include "usage/usage_messages.h"

#include <QDate>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

namespace qv::cli {

namespace {

int usageError()
{
    return usage::usageError("report");
}

// The summary's own error reports (a figure it cannot read) go to standard
// error: the report is written all the same, with that figure empty.
class NotePrompter : public Prompter {
public:
    Answer message(const QString& text, const QString& title, Icon, Buttons, Answer defaultAnswer) override
    {
        noteOnStandardError({title.isEmpty() ? text : title + QStringLiteral(": ") + text});
        return defaultAnswer;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    QString openFile(const FileChoice& choice) override { return cancelledChoice(choice); }
    QString saveFile(const FileChoice& choice) override { return cancelledChoice(choice); }
    void setStatus(int, const QString&) override {}
    void setBusy(bool) override {}
};

// The leaders a report charts: the licences with the highest standing bids
// and the bidders holding the most.
constexpr int chartedLines = 12;

QStringList topLicences(const standings::RoundStandings& result)
{
    std::vector<const standings::LicenseStanding*> order;
    for (const auto& licence : result.licenses)
        if (licence.gross)
            order.push_back(&licence);
    std::stable_sort(order.begin(), order.end(), [](auto* a, auto* b) { return *a->gross > *b->gross; });
    QStringList names;
    for (size_t i = 0; i < order.size() && i < chartedLines; ++i)
        names << order[i]->name;
    return names;
}

QStringList topBidders(const standings::RoundStandings& result)
{
    QStringList names;
    for (const auto& bidder : result.bidders) // most licences held first
        if (names.size() < chartedLines && bidder.held > 0)
            names << bidder.name;
    return names;
}

std::vector<standings::ReportChart>
drawReportCharts(store::Database& database, const standings::RoundStandings& result, QString& missing)
{
    const standings::AuctionHistory history =
        standings::readHistory(database, standings::readStandingsBasis(database), result.round);
    std::vector<std::pair<QString, standings::StandingsChart>> charts;
    charts.emplace_back(QStringLiteral("Net bids by round"), standings::netBidsChart(database, result.round));
    const QStringList licences = topLicences(result);
    if (!licences.isEmpty())
        charts.emplace_back(
            QStringLiteral("Price paths of the %1 highest standing bids").arg(licences.size()),
            standings::pricePathChart(database, history, licences));
    const QStringList bidders = topBidders(result);
    if (!bidders.isEmpty()) {
        standings::BidderCharts both = standings::bidderCharts(database, history, bidders);
        charts.emplace_back(QStringLiteral("Licences held by the %1 leading bidders").arg(bidders.size()),
                            std::move(both.held));
        charts.emplace_back(QStringLiteral("Eligibility of the same bidders"), std::move(both.eligibility));
    }
    std::vector<standings::ReportChart> drawn;
    for (const auto& [caption, chart] : charts) {
        const std::optional<QByteArray> svg = drawStandingsCharts({&chart}, true);
        if (!svg) {
            missing = QStringLiteral("The charts could not be drawn where this report was written.");
            return {};
        }
        drawn.push_back({caption, *svg});
    }
    return drawn;
}

} // namespace

int runReport(const QStringList& args, const Options&)
{
    QStringList positional;
    QString output;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("-o") && i + 1 < args.size())
            output = args[++i];
        else if (args[i].startsWith(QLatin1String("-")))
            return usageError();
        else
            positional << args[i];
    }
    if (positional.isEmpty() || positional.size() > 2 || output.isEmpty())
        return usageError();
    try {
        auto database = store::Database::open(positional[0]);
        const int round = standings::chooseRound(*database, positional.value(1));
        const standings::RoundStandings result = standings::computeRoundStandings(*database, round);
        NotePrompter prompter;
        summary::SummarySheet figures;
        standings::ReportContents contents;
        contents.auction = summary::GetAuction(*database, prompter);
        figures.layOut(contents.auction);
        summary::FillSummary(*database, QString::number(round), figures, prompter);
        contents.figures = &figures;
        contents.auctionFile = QFileInfo(positional[0]).fileName();
        contents.date = QDate::currentDate().toString(Qt::ISODate);
        contents.charts = drawReportCharts(*database, result, contents.chartsMissing);
        noteOnStandardError(result.notes);
        writeFileSafely(output, standings::reportHtml(result, contents));
        return 0;
    } catch (const Error& error) {
        QTextStream(stderr) << errorText(ErrorLayout::Report, error) << '\n';
        return 1;
    }
}

} // namespace qv::cli
