#pragma once

#include "standings/core/holdings_replay.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace qv::store {
class Database;
}

namespace qv::standings {

// A licence's row of [Markets] in one round: the agency's own statement of
// its standing, as far as the files carry it.
struct MarketRow {
    QString marketName;
    std::optional<double> highBid;
    std::optional<double> netHighBid;
    QString highBidder;
    std::optional<int> roundOfHighBid;
    bool agencyHeld = false;               // [Zelnar Held] is Y
    std::optional<double> minimumAccepted; // [Minimum Accepted Bid]: the least bid the next round takes
    std::optional<double> population;
    std::optional<double> biddingUnits;
    QString block;
};

// [Markets] of a round, in the table's order, its licences (and the bidders
// it names) numbered.
std::vector<std::pair<int, MarketRow>> readMarkets(store::Database& database, AuctionHistory& history,
                                                   int round);

// A licence's standing after a round: the agency's where [Markets] names the
// high bidder, else the replay's; gross and net both from the same source.
struct SettledStanding {
    Holding holding;
    std::optional<double> gross;
    std::optional<double> net;
    bool agreesWithReplay = true; // the same holder as the bids give
    QStringList checks;           // each disagreement between the agency and the bids, with its reason
};

SettledStanding settleStanding(const AuctionHistory& history, int license, int round, const Holding& replayed,
                               const std::optional<MarketRow>& market);

} // namespace qv::standings
