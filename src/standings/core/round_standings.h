#pragma once

#include "standings/core/holdings_replay.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace qv::store {
class Database;
}

namespace qv::standings {

// A licence after a round.
struct LicenseStanding {
    QString name;
    QString marketName;
    Holding now;                        // after the round: the agency's word where [Markets] names the holder
    Holding before;                     // after the round before, the same way
    QString holder;                     // as shown: the bidder, "(agency)", "A / B (tied)", empty for none
    std::optional<double> gross;        // the standing high bid: [Markets].[High Bid], else the holder's bid
    std::optional<double> net;          // from the same source: [Net High Bid], else that bid's net
    std::optional<double> grossBefore;  // after the round before; the withdrawn bid while the agency held it
    std::optional<double> withdrawnBid; // while the agency holds it: the bid withdrawn
    // Since it changed hands or got its first holder; none while nobody has held it.
    std::optional<int> roundsSinceChange;
    int biddersInRound = 0; // bidders who bid on it in the round
    QString check;          // where the agency's standing and the bids disagree, and why
    // For the next round, from [Markets] where the files carry it.
    std::optional<double> minimumAccepted; // [Minimum Accepted Bid]
    std::optional<double> population;
    std::optional<double> biddingUnits;
    QString block; // [Markets].[Block] where the files carry it

    // What the minimum acceptable bid adds to the standing high bid.
    std::optional<double> nextIncrement() const;
    // The standing high bid per head of population.
    std::optional<double> pricePerPop() const;

    std::optional<double> increase() const;
    std::optional<double> increasePercent() const;
};

// A bidder after a round.
struct BidderStanding {
    QString name;
    int held = 0;
    double gross = 0; // the standing high bids it holds
    double net = 0;
    int gained = 0;                    // licences held now and not after the round before
    int lost = 0;                      // the other way round
    int bids = 0;                      // bids placed in the round
    std::optional<double> eligibility; // [Bidders] of the round
    double biddingUnitsHeld = 0;       // of the licences it holds, where [Markets] has [Bidding Units]
    std::optional<double> additionalActivity;
    std::optional<double> eligibilityBefore;
    // [Bidders] of the round, where it carries them.
    std::optional<double> activity;
    std::optional<double> requiredActivity;
    std::optional<double> waiversRemaining;
    // What it stood to pay in the round: its standing bids going into the
    // round plus its new bids; a raise of its own standing bid counts once.
    double exposure = 0;
};

enum class ChangeKind { ChangedHands, NewHolder, Withdrawn, HeldByAgency, EligibilityFell, EligibilityZero };

// One change of a round against the round before.
struct StandingChange {
    ChangeKind kind = ChangeKind::ChangedHands;
    QString subject;               // a licence, or a bidder for eligibility
    QString from;                  // the holder before, the bidder who withdrew, the eligibility before
    QString to;                    // the holder now, the eligibility now
    std::optional<double> amount;  // the standing high bid, the bid withdrawn
    std::optional<double> percent; // its increase, or the eligibility's change
};

QString changeName(ChangeKind kind);

// Who is winning what after one round, and what changed since the round before.
struct RoundStandings {
    int round = 0;
    int previousRound = 0; // the imported round before it; 0 for none
    StandingsBasis basis;
    QStringList notes; // what the files lack and what was assumed, and disagreements found; warnings first
    // Files that contradict each other, with what to do: shown first and
    // marked as warnings wherever the standings are shown (also in notes).
    QStringList warnings;
    std::vector<LicenseStanding> licenses; // in the order of [Markets]
    std::vector<BidderStanding> bidders;   // most licences held first
    std::vector<StandingChange> changes;
    int newHighBids = 0;
    int changedHands = 0;           // one bidder replaced another
    int newHolders = 0;             // first held after the round
    std::optional<int> withdrawals; // in the round
    std::optional<double> netBids;  // [Round Statistics] of the round and the round before
    std::optional<double> netBidsBefore;
    int checks = 0; // licences whose standing in [Markets] disagrees with the bids
};

// The holders' text: a bidder's name, "(agency)", "A / B (tied)", or empty.
QString holderText(const AuctionHistory& history, const Holding& holding);

// The standings after an imported round. Throws qv::Error (3265) for a round
// that has not been imported, and when the auction counts withdrawals but
// lists none, so that no holder can be trusted; engine errors pass through.
RoundStandings computeRoundStandings(store::Database& database, int round);

// The same from a history already read up to the round.
RoundStandings computeRoundStandings(store::Database& database, AuctionHistory& history, int round);

// The round asked for, or the newest when empty; 3265 when it is not a whole
// number or was not imported, and when nothing has been imported.
int chooseRound(store::Database& database, const QString& roundText);

} // namespace qv::standings
