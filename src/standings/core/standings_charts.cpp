#include "standings/core/standings_charts.h"

#include "common/error.h"
#include "standings/core/auction_history.h"
#include "standings/core/holdings_replay.h"
#include "store/database.h"
#include "store/sql_quote.h"

#include <QHash>

#include <algorithm>

namespace qv::standings {

namespace {

QString inList(const QStringList& names)
{
    QStringList quoted;
    for (const QString& name : names)
        quoted << store::quoteText(name);
    return QStringLiteral(" IN (") + quoted.join(QStringLiteral(", ")) + QLatin1Char(')');
}

StandingsChart emptyChart(const AuctionHistory& history, QString title, QString valueTitle, bool money,
                          const QStringList& names)
{
    StandingsChart chart{std::move(title), std::move(valueTitle), money, history.rounds, {}};
    for (const QString& name : names)
        chart.lines.push_back({name, std::vector<std::optional<double>>(chart.rounds.size())});
    return chart;
}

// Where a round falls among the chart's rounds; -1 when it is not one of them.
int slotOf(const std::vector<int>& rounds, int round)
{
    const auto at = std::lower_bound(rounds.begin(), rounds.end(), round);
    return at != rounds.end() && *at == round ? static_cast<int>(at - rounds.begin()) : -1;
}

// Rows of (round, name, value) spread over the lines named; rounds after the
// chart's last are left out here rather than in the statement, where the
// [Round] index would have every row looked up one by one.
void fillFromRows(StandingsChart& chart, const store::Recordset& rows, QHash<QString, int>& seen)
{
    QHash<QString, int> lineOf;
    for (size_t i = 0; i < chart.lines.size(); ++i)
        lineOf.insert(chart.lines[i].name, static_cast<int>(i));
    for (int row = 0; row < rows.recordCount(); ++row) {
        const QString name = textAt(rows, row, 1);
        const int line = lineOf.value(name, -1);
        const std::optional<int> round = roundOf(numberAt(rows, row, 0));
        if (line < 0 || !round)
            continue;
        ++seen[name];
        const int slot = slotOf(chart.rounds, *round);
        if (slot >= 0)
            chart.lines[static_cast<size_t>(line)].values[static_cast<size_t>(slot)] = numberAt(rows, row, 2);
    }
}

void refuseUnknown(const QStringList& names, const QHash<QString, int>& seen, const NameIndex& known,
                   const char* kind)
{
    for (const QString& name : names) {
        if (!seen.contains(name) && known.find(name) < 0)
            throw Error(err::ItemNotFound, QStringLiteral("This auction has no ") + QLatin1String(kind) +
                                               QStringLiteral(" named ") + name + QLatin1Char('.'));
    }
}

} // namespace

StandingsChart pricePathChart(store::Database& database, const QStringList& licences, int lastRound)
{
    const AuctionHistory history = readHistory(database, readStandingsBasis(database), lastRound);
    return pricePathChart(database, history, licences);
}

StandingsChart pricePathChart(store::Database& database, const AuctionHistory& history,
                              const QStringList& named)
{
    QStringList licences = named;
    licences.removeDuplicates(); // one line a licence
    StandingsChart chart =
        emptyChart(history, QStringLiteral("Price paths"), QStringLiteral("High bid"), true, licences);
    QHash<QString, int> seen;
    if (licences.isEmpty())
        return chart;
    if (history.basis.highBid) {
        const auto rows = database.openRecordset(
            QStringLiteral("SELECT [Round], [License Name], [High Bid] FROM [Markets] WHERE [License Name]") +
                inList(licences),
            store::RecordsetType::Snapshot);
        fillFromRows(chart, *rows, seen);
    } else {
        // Without the agency's amounts, the holder's bid after each round.
        HoldingsReplay replay(history);
        for (size_t slot = 0; slot < chart.rounds.size(); ++slot) {
            replay.playTo(chart.rounds[slot]);
            for (ChartLine& line : chart.lines) {
                const Holding& held = replay.holding(history.licenses.find(line.name));
                if (held.kind == HolderKind::Bidder || held.kind == HolderKind::Tied)
                    line.values[slot] = history.bids[static_cast<size_t>(held.bid)].gross;
            }
        }
    }
    refuseUnknown(licences, seen, history.licenses, "licence");
    return chart;
}

BidderCharts bidderCharts(store::Database& database, const QStringList& bidders, int lastRound)
{
    const AuctionHistory history = readHistory(database, readStandingsBasis(database), lastRound);
    return bidderCharts(database, history, bidders);
}

BidderCharts bidderCharts(store::Database& database, const AuctionHistory& history, const QStringList& named)
{
    QStringList bidders = named;
    bidders.removeDuplicates(); // one line a bidder
    BidderCharts charts{
        emptyChart(history, QStringLiteral("Licences held"), QStringLiteral("Licences held"), false, bidders),
        emptyChart(history, QStringLiteral("Eligibility"), QStringLiteral("Current eligibility"), false,
                   bidders)};
    if (bidders.isEmpty())
        return charts;
    QHash<QString, int> seen;
    const auto rows = database.openRecordset(
        QStringLiteral("SELECT [Round], [Bidder], [Current Eligibility] FROM [Bidders] WHERE [Bidder]") +
            inList(bidders),
        store::RecordsetType::Snapshot);
    fillFromRows(charts.eligibility, *rows, seen);
    refuseUnknown(bidders, seen, history.bidders, "bidder");

    // Each chosen bidder's line, by the bidder's number.
    std::vector<int> lineOf(static_cast<size_t>(history.bidders.size()), -1);
    for (qsizetype i = 0; i < bidders.size(); ++i) {
        const int id = history.bidders.find(bidders[i]);
        if (id >= 0 && lineOf[static_cast<size_t>(id)] < 0)
            lineOf[static_cast<size_t>(id)] = static_cast<int>(i);
    }
    HoldingsReplay replay(history);
    std::vector<int> held(static_cast<size_t>(bidders.size()));
    for (size_t slot = 0; slot < charts.held.rounds.size(); ++slot) {
        replay.playTo(charts.held.rounds[slot]);
        std::fill(held.begin(), held.end(), 0);
        for (int license = 0; license < replay.licenseCount(); ++license) {
            const Holding& holding = replay.holding(license);
            if (holding.kind == HolderKind::Bidder && lineOf[static_cast<size_t>(holding.bidder)] >= 0)
                ++held[static_cast<size_t>(lineOf[static_cast<size_t>(holding.bidder)])];
        }
        for (size_t i = 0; i < held.size(); ++i)
            charts.held.lines[i].values[slot] = held[i];
    }
    return charts;
}

StandingsChart netBidsChart(store::Database& database, int lastRound)
{
    std::vector<int> rounds = importedRounds(database);
    if (lastRound > 0)
        std::erase_if(rounds, [lastRound](int round) { return round > lastRound; });
    StandingsChart chart{QStringLiteral("Net bids"), QStringLiteral("Net bids"), true, rounds, {}};
    chart.lines.push_back({QStringLiteral("Net bids"), std::vector<std::optional<double>>(rounds.size())});
    const auto rows = database.openRecordset(
        QStringLiteral("SELECT [Round], [Net Bids] FROM [Round Statistics]"), store::RecordsetType::Snapshot);
    for (int row = 0; row < rows->recordCount(); ++row) {
        const std::optional<int> round = roundOf(numberAt(*rows, row, 0));
        const int slot = round ? slotOf(chart.rounds, *round) : -1;
        if (slot >= 0)
            chart.lines.front().values[static_cast<size_t>(slot)] = numberAt(*rows, row, 1);
    }
    return chart;
}

} // namespace qv::standings
