#pragma once

#include <QString>
#include <QStringList>

namespace qv::store {
class Database;
}

namespace qv::standings {

// Which of the columns the standings are best read from an auction's files
// carry. The agency does not promise them: without [New High Bid] the holder
// of a licence is the bidder of its highest gross bid so far, without the
// withdrawal columns no withdrawal is applied, and without [High Bid] the
// standing amount is the holder's own bid, unchecked. The withdrawal round is
// read from whichever of its spellings the files use.
struct StandingsBasis {
    bool newHighBid = true;  // [All Bids].[New High Bid]
    bool highBid = true;     // [Markets].[High Bid]
    bool withdrawals = true; // [Withdrawal Statistics]: a withdrawal round, [License Name], [Bidder]
    QString withdrawalRound; // the column that holds the withdrawal round, as the table spells it
    // The agency's own statement of each licence's standing in [Markets]; where
    // [High Bidder] is there it is the standing, and the bids are its check.
    bool highBidder = false;     // [High Bidder]
    bool netHighBid = false;     // [Net High Bid]
    bool roundOfHighBid = false; // [Round of High Bid]
    bool agencyHeld = false;     // [Zelnar Held]
    // What the next round asks, per licence, where [Markets] carries it.
    bool minimumAccepted = false; // [Minimum Accepted Bid]
    bool population = false;      // [Population]
    bool biddingUnits = false;    // [Bidding Units]
    bool block = false;           // [Block]: the totals by block
    // A bidder's activity, where [Bidders] carries it.
    bool activity = false;         // [Activity]
    bool requiredActivity = false; // [Required Activity]
    bool waiversRemaining = false; // [Waivers Remaining]
    // "[New High Bid] (All Bids)", ... in the order above.
    QStringList missing;

    bool complete() const { return missing.isEmpty(); }
    bool appliesWithdrawals() const { return withdrawals; }
    bool published() const { return highBid && highBidder; }
    // One sentence per missing column: what is missing and what was assumed.
    QStringList notes() const;
};

StandingsBasis readStandingsBasis(store::Database& database);

// The spellings of the withdrawal round, the preferred first.
const QStringList& withdrawalRoundNames();

} // namespace qv::standings
