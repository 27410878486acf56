#pragma once

#include "store/sample/sample_random.h"

#include <QString>

#include <vector>

namespace qv::store::sample {

// One licence on offer, with its standing after the latest round.
struct SampleLicense {
    QString name;       // "B012-C2": market, block, submarket
    QString market;     // "B012"
    QString marketName; // "Fresno, CA"
    QString block;      // "A" to "F"
    int submarket = 1;
    qint64 population = 0;
    qint64 biddingUnits = 0; // thousands of MHz-pops
    qint64 openingBid = 0;   // minimum opening bid
    double baseValue = 0;    // what the licence is worth to a typical bidder

    int highBidder = -1; // index into the bidders; -1 for none
    qint64 highGross = 0;
    qint64 highNet = 0;
    int highRound = 0;
    qint64 displacedGross = 0;  // the high bid the standing one replaced
    bool zelnarHeld = false;    // its high bid was withdrawn and nobody has bid since
    qint64 minimumAccepted = 0; // for the next round
    qint64 increment = 0;       // one bid increment in the next round
};

// One qualified bidder.
struct SampleBidder {
    QString name;
    QString account;        // "Zelnar Acct": ten digits, leading zeros kept
    int creditPct = 0;      // bidding credit in percent of the gross bid
    double strength = 1;    // scales what every licence is worth to this bidder
    qint64 eligibility = 0; // bidding units
    int waivers = 5;
};

// The licences of an auction: eight per market (blocks A to F, C and F split
// into two submarkets), markets numbered from 1.
std::vector<SampleLicense> makeLicenses(int count, SampleRandom& random);

// The bidders, their initial eligibility together about three times the
// bidding units on offer.
std::vector<SampleBidder> makeBidders(int count, qint64 totalUnits, SampleRandom& random);

// Rounds a positive amount up to whole thousands of dollars, at least 1,000.
qint64 roundUpToThousand(double amount);

} // namespace qv::store::sample
