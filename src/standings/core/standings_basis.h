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
// standing amount is the holder's own bid, unchecked.
struct StandingsBasis {
    bool newHighBid = true;  // [All Bids].[New High Bid]
    bool highBid = true;     // [Markets].[High Bid]
    bool withdrawals = true; // [Withdrawal Statistics]: [Withdrawal Round], [License Name], [Bidder]
    // "[New High Bid] (All Bids)", ... in the order above.
    QStringList missing;

    bool complete() const { return missing.isEmpty(); }
    // Withdrawals count only where the holder is the last new high bid.
    bool appliesWithdrawals() const { return newHighBid && withdrawals; }
    // One sentence per missing column: what is missing and what was assumed.
    QStringList notes() const;
};

StandingsBasis readStandingsBasis(store::Database& database);

} // namespace qv::standings
