#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace qv::store {
class Database;
}

namespace qv::standings {

struct AuctionHistory;

// One line of a chart over the rounds: a value per round of the chart, empty
// where there is none (the line runs on to the next round that has one).
struct ChartLine {
    QString name;
    std::vector<std::optional<double>> values;
};

// A chart of the standings over the rounds; its lines take their colours and
// dashes from the program's chart palette, in order.
struct StandingsChart {
    QString title;
    QString valueTitle; // the values' axis
    bool money = false; // amounts in dollars rather than counts
    std::vector<int> rounds;
    std::vector<ChartLine> lines;
};

// What the bidders chart shows: licences held and eligibility, one line per
// bidder in each, in the same order (and so the same colours).
struct BidderCharts {
    StandingsChart held;
    StandingsChart eligibility;
};

// [High Bid] of each licence by round (the holder's bid where the files lack
// [High Bid]), up to lastRound (every round when 0). Throws qv::Error 3265
// for a licence the auction does not know.
StandingsChart pricePathChart(store::Database& database, const QStringList& licences, int lastRound = 0);
// The same from a history read up to the last round.
StandingsChart pricePathChart(store::Database& database, const AuctionHistory& history,
                              const QStringList& licences);

BidderCharts bidderCharts(store::Database& database, const QStringList& bidders, int lastRound = 0);
BidderCharts bidderCharts(store::Database& database, const AuctionHistory& history,
                          const QStringList& bidders);

// [Net Bids] of [Round Statistics] by round.
StandingsChart netBidsChart(store::Database& database, int lastRound = 0);

} // namespace qv::standings
