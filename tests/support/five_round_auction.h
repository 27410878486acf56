#pragma once

#include <QString>

namespace qv::test {

// An auction of five rounds whose standings are worked out by hand:
// - "A-1" goes Heron (round 1), Kestrel (2), Heron (3); Kestrel's later bid
//   of Heron's amount (round 5) does not become a new high bid;
// - "B-2" goes to Kestrel (1), is withdrawn in round 3 and held by the agency
//   until "O'Brien Mobile" bids in round 5;
// - "C-3" (market "Chicago & <Gary>") is never bid on;
// - "D[4]" stays with "Wren [West]", who raises its own high bid in round 3;
//   [Markets] says 60 in round 5 where the bid was 55 (a check);
// - "E-5" draws the same 300 from Heron and Kestrel in round 4 (Kestrel's is
//   the new high bid);
// - Wren's eligibility reaches 0 in round 4, Kestrel's falls to 80 in round 5.
// Round 3 counts one withdrawal. Returns the database's path inside folder.
QString makeFiveRoundAuction(const QString& folder);

// Drops [New High Bid], [High Bid] and [Withdrawal Round] from an auction,
// as files that do not carry them leave it.
void dropStandingsColumns(const QString& auctionPath);

// Writes a small picture into folder and renames a bidder or licence (column
// "Bidder" or "License Name") in every table to markup that would show it
// ("<img src=\"FOLDER/p.png\">" + tail), as a hostile round file could.
// Returns the new name.
QString nameAsPicture(const QString& auctionPath, const QString& folder, const QString& column,
                      const QString& from, const QString& tail);

} // namespace qv::test
