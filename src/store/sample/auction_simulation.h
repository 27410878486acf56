#pragma once

#include "store/sample/sample_auction.h"
#include "store/sample/sample_catalogue.h"
#include "store/sample/sample_random.h"

#include <QDate>

#include <vector>

namespace qv::store::sample {

// One bid submitted in a round.
struct SampleBid {
    int license = 0;
    int bidder = 0;
    int increments = 1;
    qint64 gross = 0;
    qint64 net = 0;
    bool becameHighBid = false;
    bool raisesOwnHighBid = false;
    qint64 previousHighBid = 0; // the licence's standing high bid when the bid was made
};

// One high bid withdrawn, numbered across the whole auction.
struct SampleWithdrawal {
    int number = 0;
    int round = 0;
    int license = 0;
    int bidder = 0;
    qint64 gross = 0;
    qint64 net = 0;
};

// A bidder's activity in a round and its standing afterwards.
struct SampleBidderRound {
    qint64 activity = 0; // bidding units of standing high bids plus new bids
    qint64 required = 0; // activity the round asked for
    qint64 eligibilityBefore = 0;
    qint64 additionalRequired = 0; // what the next round asks beyond the standing high bids
    int highBids = 0;
    qint64 grossHighBids = 0;
    qint64 netHighBids = 0;
    bool atRisk = false; // activity short of the requirement
    bool usedWaiver = false;
    bool reduced = false;
};

// The round's figures as the agency sums them up.
struct SampleRoundFigures {
    int round = 0;
    QDate date;
    int stage = 1;
    int roundOfDay = 1;
    double activityPct = 0;  // activity requirement, percent of eligibility
    double incrementPct = 0; // bid increment, percent of the standing bid
    qint64 netBids = 0;      // sum of the standing net high bids
    qint64 grossBids = 0;
    qint64 netChange = 0; // against the previous round
    int newBids = 0;
    int totalHighBids = 0;
    int zelnarHeld = 0;
    int withdrawals = 0;
    qint64 totalEligibility = 0;
    double eligibilityRatio = 0;
    double pctNewHighBidUnits = 0; // bidding units that drew a new high bid, percent of all
    int biddersAtRisk = 0;
    int eligibleBidders = 0;
    int biddersBidding = 0;
    int waivers = 0;
    int reduced = 0;
    double pctCoveredUnits = 0; // bidding units under a standing high bid, percent of all
    int licensesWithBids = 0;
};

// Everything a round produced; the licences' and bidders' standing is read
// from the simulation itself.
struct SampleRoundOutcome {
    SampleRoundFigures figures;
    std::vector<SampleBid> bids;
    std::vector<int> bidsPerLicense;
    std::vector<SampleBidderRound> bidderRounds; // one per bidder
};

// A small simultaneous multiple-round auction: bidders with eligibility bid
// in increments on licences they value, outbid each other, now and then
// withdraw a high bid, and lose eligibility or use a waiver when their
// activity falls short. The same options replay the same auction.
class AuctionSimulation {
public:
    explicit AuctionSimulation(const SampleOptions& options);

    // Plays the next round and returns what it produced.
    const SampleRoundOutcome& playRound();

    int auction() const { return options_.auction; }
    int round() const { return round_; }
    const std::vector<SampleLicense>& licenses() const { return licenses_; }
    const std::vector<SampleBidder>& bidders() const { return bidders_; }
    // Every withdrawal so far, in order.
    const std::vector<SampleWithdrawal>& withdrawals() const { return withdrawals_; }
    qint64 totalUnits() const { return totalUnits_; }

    int stageOf(int round) const;
    static double activityPctOf(int stage);
    static double incrementPctOf(int stage);

private:
    void advanceCalendar(int stage);
    void withdrawSomeHighBids(double probability);
    void priceLicenses(int stage);
    void submitBids(int stage);
    void submitBidsOf(int bidder, double activityShare, const std::vector<int>& held);
    void resolveBids();
    void enforceActivity(int stage);
    void sumUp();
    double valueTo(int bidder, int license) const;
    SampleBid bidAt(int license, int bidder, int increments) const;

    SampleOptions options_;
    SampleRandom random_;
    quint64 valueSeed_;
    std::vector<SampleLicense> licenses_;
    std::vector<SampleBidder> bidders_;
    std::vector<SampleWithdrawal> withdrawals_;
    std::vector<int> bidStamp_; // per licence: the last bidder pass that bid on it
    int stamp_ = 0;
    qint64 totalUnits_ = 0;
    int round_ = 0;
    QDate date_;
    int roundOfDay_ = 0;
    int dayStage_ = 0;
    qint64 lastNetBids_ = 0;
    SampleRoundOutcome outcome_;
};

} // namespace qv::store::sample
