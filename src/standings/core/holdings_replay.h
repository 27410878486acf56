#pragma once

#include "standings/core/auction_history.h"

#include <vector>

namespace qv::standings {

enum class HolderKind { None, Bidder, Agency, Tied };

// Who holds one licence after a round.
struct Holding {
    HolderKind kind = HolderKind::None;
    int bidder = -1;       // Bidder: the holder; Agency: the bidder whose high bid was withdrawn
    int bid = -1;          // the bid it stands on (Agency: the one withdrawn), an index of the history's bids
    std::vector<int> tied; // Tied: the bidders who bid the highest amount in the same round
    int since = 0; // the round it last changed hands (or got its first holder); 0 while nobody has held it

    // The same holder: the same bidder, the agency both times, the same tie.
    bool sameHolderAs(const Holding& other) const;
    // Whether this holding, taking over from before, is one bidder (or tie)
    // replacing another. The agency is no bidder: a licence passing to it is
    // no change, and coming back from it to the bidder who withdrew is none
    // either; a first holder is new, not a change.
    bool changesHandsFrom(const Holding& before) const;
};

// Plays an auction's bids and withdrawals round by round and keeps who holds
// each licence. With [New High Bid] a licence goes to the bidder of its last
// new high bid, and to the agency when that bid is withdrawn in a later round,
// until the next new high bid. Without it, a licence goes to the bidder of its
// highest gross bid so far; a later bid of the same amount does not take it,
// and bidders who bid it in the same round hold it tied. A withdrawal by the
// sole holder hands it to the agency, and the highest bid made after that
// takes it, however much lower than the withdrawn one.
class HoldingsReplay {
public:
    explicit HoldingsReplay(const AuctionHistory& history);

    // Plays every round after the last one played, up to and including round.
    void playTo(int round);
    int round() const { return round_; }

    // The holding of a licence (none for a licence numbered after the replay began).
    const Holding& holding(int license) const;
    int licenseCount() const { return static_cast<int>(holdings_.size()); }

private:
    void playRound(int round);
    void withdraw(const Withdrawal& withdrawal, int round);
    void take(int license, Holding next, int round);

    const AuctionHistory& history_;
    std::vector<Holding> holdings_;
    std::vector<double> highest_; // without [New High Bid]: the highest gross bid since the last withdrawal
    std::vector<int> roundBest_;  // a round's best bid on each licence, -1 for none
    std::vector<std::vector<int>> roundTied_; // the bidders of that amount in the round
    size_t nextBid_ = 0;
    size_t nextWithdrawal_ = 0;
    int round_ = 0;
};

} // namespace qv::standings
