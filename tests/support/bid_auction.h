#pragma once

#include <QString>

namespace qv::test {

// An auction of four rounds with the eleven columns the analyses read:
// licences "A-1" (market M1) and "B-2" (market M2, whose bids have no
// [Markets] row in round 4), bidders "Heron", "Kestrel" and "O'Brien Mobile",
// two identical bids (same round, licence, bidder and increments), a bid
// without a net amount, and a [Market] column in [Markets] as the agency
// delivers it. Returns the database's path inside folder.
QString makeBidAuction(const QString& folder);

} // namespace qv::test
