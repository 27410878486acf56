#pragma once

#include "standings/core/record_values.h"
#include "standings/core/standings_basis.h"

#include <optional>
#include <vector>

namespace qv::store {
class Database;
}

namespace qv::standings {

struct Bid {
    int round = 0;
    int license = 0;
    int bidder = 0;
    std::optional<double> gross;
    std::optional<double> net;
    bool newHigh = false; // [New High Bid] is Y
};

struct Withdrawal {
    int round = 0; // the round it was withdrawn in
    int license = 0;
    int bidder = 0;
};

// What the holders of an auction's licences are worked out from: every bid
// and withdrawal up to a round, with licences and bidders numbered.
struct AuctionHistory {
    StandingsBasis basis;
    int lastRound = 0;
    std::vector<int> rounds; // the imported rounds up to lastRound, ascending
    NameIndex licenses;
    NameIndex bidders;
    std::vector<Bid> bids;               // by round; within a round as the table holds them
    std::vector<Withdrawal> withdrawals; // by round; none when the basis has no withdrawal columns
};

// Reads [All Bids] and [Withdrawal Statistics] up to lastRound (every
// imported round when 0). Engine errors pass to the caller.
AuctionHistory readHistory(store::Database& database, const StandingsBasis& basis, int lastRound = 0);

// The imported rounds, ascending.
std::vector<int> importedRounds(store::Database& database);

// A whole number as a round, or nothing.
std::optional<int> roundOf(std::optional<double> value);

} // namespace qv::standings
