#include "store/sample/auction_simulation.h"

#include <algorithm>
#include <cmath>

namespace qv::store::sample {

namespace {

// Percentages are published with two decimals.
double roundToHundredths(double value)
{
    return std::round(value * 100.0) / 100.0;
}

qint64 unitsShare(qint64 units, double share)
{
    return static_cast<qint64>(std::ceil(static_cast<double>(units) * share - 1e-9));
}

QDate nextWorkday(QDate date)
{
    date = date.addDays(1);
    while (date.dayOfWeek() > 5)
        date = date.addDays(1);
    return date;
}

} // namespace

AuctionSimulation::AuctionSimulation(const SampleOptions& options)
    : options_(options), random_(mixBits(options.seed) ^ 0x51a7e5eedULL),
      valueSeed_(mixBits(options.seed + 17ULL))
{
    licenses_ = makeLicenses(options.licenses, random_);
    for (const SampleLicense& license : licenses_)
        totalUnits_ += license.biddingUnits;
    bidders_ = makeBidders(options.bidders, totalUnits_, random_);
    bidStamp_.assign(licenses_.size(), -1);
}

// Stage 1 for the first three tenths of the rounds, stage 2 to six tenths,
// stage 3 after that; each stage asks for more activity.
int AuctionSimulation::stageOf(int round) const
{
    const int firstEnd = std::max(1, options_.rounds * 3 / 10);
    const int secondEnd = std::max(firstEnd + 1, options_.rounds * 6 / 10);
    if (round <= firstEnd)
        return 1;
    return round <= secondEnd ? 2 : 3;
}

double AuctionSimulation::activityPctOf(int stage)
{
    return stage == 1 ? 60.0 : stage == 2 ? 80.0 : 95.0;
}

double AuctionSimulation::incrementPctOf(int stage)
{
    return stage == 1 ? 10.0 : stage == 2 ? 7.5 : 5.0;
}

const SampleRoundOutcome& AuctionSimulation::playRound()
{
    ++round_;
    const int stage = stageOf(round_);
    outcome_ = SampleRoundOutcome();
    outcome_.bidsPerLicense.assign(licenses_.size(), 0);
    outcome_.bidderRounds.assign(bidders_.size(), SampleBidderRound());
    advanceCalendar(stage);

    SampleRoundFigures& figures = outcome_.figures;
    figures.round = round_;
    figures.date = date_;
    figures.stage = stage;
    figures.roundOfDay = roundOfDay_;
    figures.activityPct = activityPctOf(stage);
    figures.incrementPct = incrementPctOf(stage);

    if (round_ > 1 && stage < 3)
        withdrawSomeHighBids(options_.withdrawalChance);
    priceLicenses(stage);
    submitBids(stage);
    resolveBids();
    enforceActivity(stage);
    priceLicenses(stageOf(round_ + 1));
    sumUp();
    return outcome_;
}

// Bidding days hold more rounds as the auction goes on; a new stage starts
// on a new day. Weekends have no bidding.
void AuctionSimulation::advanceCalendar(int stage)
{
    if (!date_.isValid()) {
        date_ = QDate(2026, 1, 12);
        roundOfDay_ = 1;
    } else if (roundOfDay_ >= stage + 1 || stage != dayStage_) {
        date_ = nextWorkday(date_);
        roundOfDay_ = 1;
    } else {
        ++roundOfDay_;
    }
    dayStage_ = stage;
}

// A withdrawn high bid leaves the licence held by Zelnar until someone bids.
void AuctionSimulation::withdrawSomeHighBids(double probability)
{
    for (size_t i = 0; i < licenses_.size(); ++i) {
        SampleLicense& license = licenses_[i];
        if (license.highBidder < 0 || !random_.chance(probability))
            continue;
        SampleWithdrawal withdrawal;
        withdrawal.number = static_cast<int>(withdrawals_.size()) + 1;
        withdrawal.round = round_;
        withdrawal.license = static_cast<int>(i);
        withdrawal.bidder = license.highBidder;
        withdrawal.gross = license.highGross;
        withdrawal.net = license.highNet;
        withdrawals_.push_back(withdrawal);
        ++outcome_.figures.withdrawals;
        license.highBidder = -1;
        license.highGross = 0;
        license.highNet = 0;
        license.highRound = 0;
        license.zelnarHeld = true;
    }
}

// The minimum accepted bid is one increment over the standing high bid; a
// licence held by Zelnar starts again from the bid its withdrawn one replaced.
void AuctionSimulation::priceLicenses(int stage)
{
    const double share = incrementPctOf(stage) / 100.0;
    for (SampleLicense& license : licenses_) {
        if (license.highBidder >= 0) {
            license.increment = roundUpToThousand(static_cast<double>(license.highGross) * share);
            license.minimumAccepted = license.highGross + license.increment;
        } else {
            const qint64 floor = license.zelnarHeld ? std::max(license.openingBid, license.displacedGross)
                                                    : license.openingBid;
            license.increment = roundUpToThousand(static_cast<double>(floor) * share);
            license.minimumAccepted = floor;
        }
    }
}

double AuctionSimulation::valueTo(int bidder, int license) const
{
    const quint64 key = valueSeed_ ^ (static_cast<quint64>(bidder + 1) * 0x9e3779b97f4a7c15ULL) ^
                        (static_cast<quint64>(license + 1) * 0xc2b2ae3d27d4eb4fULL);
    const double u = unitOf(mixBits(key));
    if (u < 0.5)
        return 0; // not a licence this bidder wants
    const double factor = 0.5 + (u - 0.5) * 2.0;
    return licenses_[static_cast<size_t>(license)].baseValue * factor *
           bidders_[static_cast<size_t>(bidder)].strength;
}

SampleBid AuctionSimulation::bidAt(int license, int bidder, int increments) const
{
    const SampleLicense& l = licenses_[static_cast<size_t>(license)];
    SampleBid bid;
    bid.license = license;
    bid.bidder = bidder;
    bid.increments = increments;
    bid.gross = l.minimumAccepted + (increments - 1) * l.increment;
    // Gross bids are whole thousands and credits whole percents: net bids stay whole dollars.
    bid.net = bid.gross - bid.gross * bidders_[static_cast<size_t>(bidder)].creditPct / 100;
    bid.previousHighBid = l.highGross;
    bid.raisesOwnHighBid = l.highBidder == bidder;
    return bid;
}

void AuctionSimulation::submitBids(int stage)
{
    std::vector<std::vector<int>> held(bidders_.size());
    for (size_t i = 0; i < licenses_.size(); ++i) {
        if (licenses_[i].highBidder >= 0)
            held[static_cast<size_t>(licenses_[i].highBidder)].push_back(static_cast<int>(i));
    }
    // Bidders take turns in a new order every round, so ties go to different bidders.
    std::vector<int> order(bidders_.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    for (int i = static_cast<int>(order.size()) - 1; i > 0; --i)
        std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(random_.below(i + 1))]);

    const double activityShare = activityPctOf(stage) / 100.0;
    for (const int bidder : order) {
        if (bidders_[static_cast<size_t>(bidder)].eligibility > 0)
            submitBidsOf(bidder, activityShare, held[static_cast<size_t>(bidder)]);
    }
}

void AuctionSimulation::submitBidsOf(int bidder, double activityShare, const std::vector<int>& held)
{
    const qint64 eligibility = bidders_[static_cast<size_t>(bidder)].eligibility;
    SampleBidderRound& mine = outcome_.bidderRounds[static_cast<size_t>(bidder)];
    mine.eligibilityBefore = eligibility;
    mine.required = unitsShare(eligibility, activityShare);
    ++stamp_;

    qint64 activity = 0;
    for (const int license : held) {
        activity += licenses_[static_cast<size_t>(license)].biddingUnits;
        // Now and then a bidder raises its own high bid to discourage rivals.
        if (random_.chance(0.01)) {
            const SampleBid bid = bidAt(license, bidder, 1);
            if (static_cast<double>(bid.gross) <= valueTo(bidder, license)) {
                outcome_.bids.push_back(bid);
                bidStamp_[static_cast<size_t>(license)] = stamp_;
            }
        }
    }

    // A bidder that has had enough stays away and lets its eligibility go.
    const bool staysAway = round_ > 1 && random_.chance(0.03);
    const qint64 wanted = unitsShare(eligibility, 0.5 + 0.5 * random_.unit());
    const qint64 target = staysAway ? 0 : std::min(eligibility, std::max(mine.required, wanted));
    const int licenseCount = static_cast<int>(licenses_.size());
    for (int tries = 0; activity < target && tries < 60; ++tries) {
        const int license = random_.below(licenseCount);
        const SampleLicense& l = licenses_[static_cast<size_t>(license)];
        if (bidStamp_[static_cast<size_t>(license)] == stamp_ || l.highBidder == bidder ||
            activity + l.biddingUnits > eligibility)
            continue;
        const double value = valueTo(bidder, license);
        SampleBid bid = bidAt(license, bidder, 1);
        if (static_cast<double>(bid.gross) > value)
            continue;
        const double jump = random_.unit();
        const int increments = jump < 0.8 ? 1 : jump < 0.95 ? 2 : 3;
        if (increments > 1) {
            const SampleBid bigger = bidAt(license, bidder, increments);
            if (static_cast<double>(bigger.gross) <= value)
                bid = bigger;
        }
        outcome_.bids.push_back(bid);
        bidStamp_[static_cast<size_t>(license)] = stamp_;
        activity += l.biddingUnits;
    }
    mine.activity = activity;
}

// The highest gross bid on a licence becomes its new high bid; of equal bids
// the one submitted first.
void AuctionSimulation::resolveBids()
{
    std::vector<int> best(licenses_.size(), -1);
    std::vector<SampleBid>& bids = outcome_.bids;
    for (size_t i = 0; i < bids.size(); ++i) {
        const size_t license = static_cast<size_t>(bids[i].license);
        ++outcome_.bidsPerLicense[license];
        if (best[license] < 0 || bids[i].gross > bids[static_cast<size_t>(best[license])].gross)
            best[license] = static_cast<int>(i);
    }
    qint64 newHighUnits = 0;
    for (size_t i = 0; i < licenses_.size(); ++i) {
        if (best[i] < 0)
            continue;
        SampleBid& bid = bids[static_cast<size_t>(best[i])];
        bid.becameHighBid = true;
        SampleLicense& license = licenses_[i];
        if (license.highBidder >= 0)
            license.displacedGross = license.highGross;
        license.highBidder = bid.bidder;
        license.highGross = bid.gross;
        license.highNet = bid.net;
        license.highRound = round_;
        license.zelnarHeld = false;
        newHighUnits += license.biddingUnits;
        ++outcome_.figures.licensesWithBids;
    }
    outcome_.figures.pctNewHighBidUnits =
        roundToHundredths(100.0 * static_cast<double>(newHighUnits) / static_cast<double>(totalUnits_));
}

// Short of the required activity a bidder uses a waiver while it has one,
// or its eligibility shrinks to what its activity supports.
void AuctionSimulation::enforceActivity(int stage)
{
    const double activityShare = activityPctOf(stage) / 100.0;
    SampleRoundFigures& figures = outcome_.figures;
    for (size_t i = 0; i < bidders_.size(); ++i) {
        SampleBidder& bidder = bidders_[i];
        SampleBidderRound& mine = outcome_.bidderRounds[i];
        if (mine.eligibilityBefore <= 0 || mine.activity >= mine.required)
            continue;
        mine.atRisk = true;
        ++figures.biddersAtRisk;
        if (bidder.waivers > 0 && random_.chance(mine.activity > 0 ? 0.75 : 0.4)) {
            --bidder.waivers;
            mine.usedWaiver = true;
            ++figures.waivers;
        } else {
            const qint64 supported = static_cast<qint64>(static_cast<double>(mine.activity) / activityShare);
            bidder.eligibility = std::min(bidder.eligibility, supported);
            mine.reduced = true;
            ++figures.reduced;
        }
    }
}

void AuctionSimulation::sumUp()
{
    SampleRoundFigures& figures = outcome_.figures;
    std::vector<qint64> heldUnits(bidders_.size(), 0);
    qint64 coveredUnits = 0;
    for (const SampleLicense& license : licenses_) {
        if (license.zelnarHeld)
            ++figures.zelnarHeld;
        if (license.highBidder < 0)
            continue;
        const size_t holder = static_cast<size_t>(license.highBidder);
        ++figures.totalHighBids;
        figures.netBids += license.highNet;
        figures.grossBids += license.highGross;
        coveredUnits += license.biddingUnits;
        heldUnits[holder] += license.biddingUnits;
        SampleBidderRound& standing = outcome_.bidderRounds[holder];
        ++standing.highBids;
        standing.grossHighBids += license.highGross;
        standing.netHighBids += license.highNet;
    }

    std::vector<char> bidding(bidders_.size(), 0);
    for (const SampleBid& bid : outcome_.bids)
        bidding[static_cast<size_t>(bid.bidder)] = 1;
    const double nextShare = activityPctOf(stageOf(round_ + 1)) / 100.0;
    for (size_t i = 0; i < bidders_.size(); ++i) {
        const qint64 eligibility = bidders_[i].eligibility;
        if (eligibility > 0)
            ++figures.eligibleBidders;
        figures.biddersBidding += bidding[i];
        figures.totalEligibility += eligibility;
        outcome_.bidderRounds[i].additionalRequired =
            std::max<qint64>(0, unitsShare(eligibility, nextShare) - heldUnits[i]);
    }

    const double units = static_cast<double>(totalUnits_);
    figures.newBids = static_cast<int>(outcome_.bids.size());
    figures.netChange = figures.netBids - lastNetBids_;
    lastNetBids_ = figures.netBids;
    figures.eligibilityRatio = roundToHundredths(static_cast<double>(figures.totalEligibility) / units);
    figures.pctCoveredUnits = roundToHundredths(100.0 * static_cast<double>(coveredUnits) / units);
}

} // namespace qv::store::sample
