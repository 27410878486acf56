#include "cli/chart_file.h"
#include "cli/commands.h"
#include "cli/standings_output.h"

#include "common/error.h"
#include "common/safe_file.h"
#include "standings/core/auction_history.h"
#include "standings/core/round_standings.h"
#include "standings/core/standings_charts.h"
#include "standings/core/standings_tables.h"
#include "store/database.h"
#include "usage/usage_messages.h"

#include <QTextStream>

namespace qv::cli {

namespace {

int usageError()
{
    return usage::usageError("standings");
}

int failed(const Error& error)
{
    QTextStream(stderr) << errorText(ErrorLayout::Report, error) << '\n';
    return 1;
}

enum class View { Licences, Bidders, Changes, Markets };

std::optional<View> viewNamed(const QString& name)
{
    if (name == QLatin1String("licence") || name == QLatin1String("license"))
        return View::Licences;
    if (name == QLatin1String("bidder"))
        return View::Bidders;
    if (name == QLatin1String("changes"))
        return View::Changes;
    if (name == QLatin1String("market"))
        return View::Markets;
    return std::nullopt;
}

// What --chart asked for: one kind, and the licences or bidders named.
struct ChartRequest {
    enum class Kind { None, Licences, Bidders, NetBids } kind = Kind::None;
    QStringList names;

    // False when the request is malformed or of another kind than those before.
    bool add(const QString& spec)
    {
        Kind wanted = Kind::None;
        QString name;
        if (spec == QLatin1String("net")) {
            wanted = Kind::NetBids;
        } else {
            const QString kindName = spec.section(QLatin1Char(':'), 0, 0);
            name = spec.section(QLatin1Char(':'), 1);
            if (kindName == QLatin1String("licence") || kindName == QLatin1String("license"))
                wanted = Kind::Licences;
            else if (kindName == QLatin1String("bidder"))
                wanted = Kind::Bidders;
            if (name.isEmpty())
                return false;
        }
        if (wanted == Kind::None || (kind != Kind::None && kind != wanted))
            return false;
        kind = wanted;
        if (!name.isEmpty() && !names.contains(name))
            names << name;
        return true;
    }
};

int writeChart(store::Database& database, int round, const ChartRequest& request, const QString& file)
{
    const bool svg = file.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
    std::vector<standings::StandingsChart> charts;
    QStringList notes;
    if (request.kind == ChartRequest::Kind::NetBids) {
        charts.push_back(standings::netBidsChart(database, round));
    } else {
        const standings::AuctionHistory history =
            standings::readHistory(database, standings::readStandingsBasis(database), round);
        notes = history.basis.notes();
        if (request.kind == ChartRequest::Kind::Licences) {
            charts.push_back(standings::pricePathChart(database, history, request.names));
        } else {
            standings::BidderCharts both = standings::bidderCharts(database, history, request.names);
            charts.push_back(std::move(both.held));
            charts.push_back(std::move(both.eligibility));
        }
    }
    noteOnStandardError(notes);
    std::vector<const standings::StandingsChart*> drawn;
    for (const auto& chart : charts)
        drawn.push_back(&chart);
    const std::optional<QByteArray> picture = drawStandingsCharts(drawn, svg);
    if (!picture)
        return 1;
    writeFileSafely(file, *picture);
    return 0;
}

} // namespace

int runStandings(const QStringList& given, const Options&)
{
    QStringList args = given;
    std::optional<OutputFormat> format;
    if (!takeFormatOption(args, format))
        return usageError();
    QStringList positional;
    std::optional<View> view;
    ChartRequest chart;
    QString output;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--by") && hasValue) {
            view = viewNamed(args[++i]);
            if (!view)
                return usageError();
        } else if (a == QLatin1String("--chart") && hasValue) {
            if (!chart.add(args[++i]))
                return usageError();
        } else if (a == QLatin1String("-o") && hasValue) {
            output = args[++i];
        } else if (a.startsWith(QLatin1String("-"))) {
            return usageError();
        } else {
            positional << a;
        }
    }
    const bool charting = chart.kind != ChartRequest::Kind::None;
    if (positional.isEmpty() || positional.size() > 2 || (charting && (view || format || output.isEmpty())) ||
        (!charting && !output.isEmpty()))
        return usageError();
    if (charting && !isChartFileName(output))
        return usage::usageError("standings", chartFileProblem(QStringLiteral("-o"), output));

    try {
        auto database = store::Database::open(positional[0]);
        const int round = standings::chooseRound(*database, positional.value(1));
        if (charting)
            return writeChart(*database, round, chart, output);
        const standings::RoundStandings result = standings::computeRoundStandings(*database, round);
        const View shown = view.value_or(View::Licences);
        const standings::StandingsTable table = shown == View::Licences  ? standings::licenceTable(result)
                                                : shown == View::Bidders ? standings::bidderTable(result)
                                                : shown == View::Markets ? standings::marketTable(result)
                                                                         : standings::changeTable(result);
        noteOnStandardError(result.notes);
        StandardOutput& out = StandardOutput::instance();
        out.write(standingsTableText(table, format.value_or(OutputFormat::Tsv)));
        out.flush();
        return 0;
    } catch (const Error& error) {
        return failed(error);
    }
}

} // namespace qv::cli
