#pragma once

#include "store/sample/auction_simulation.h"

struct sqlite3;

namespace qv::store::sample {

// Creates and fills the tables of one round database from the round just
// played, in the order the agency publishes them: "Round Statistics",
// "All Bids", "Markets", "Bidders", "Bidders Raising Own High Bid",
// "Bidders Who Reduced", "Withdrawal Statistics", "Increment Statistics",
// "Waiver Statistics", "Miscellaneous Statistics", "Reduction Statistics";
// with engineTables also "MSysObjects", "sysX" and "SysY".
void writeRoundTables(sqlite3* db, const AuctionSimulation& auction, const SampleRoundOutcome& outcome,
                      bool engineTables);

// The tables that hold only figures, in statistics_tables.cpp.
void writeRoundStatistics(sqlite3* db, const AuctionSimulation& auction, const SampleRoundOutcome& outcome);
void writeWithdrawalStatistics(sqlite3* db, const AuctionSimulation& auction);
void writeIncrementStatistics(sqlite3* db, const SampleRoundOutcome& outcome);
void writeWaiverStatistics(sqlite3* db, const AuctionSimulation& auction, const SampleRoundOutcome& outcome);
void writeMiscellaneousStatistics(sqlite3* db, const SampleRoundOutcome& outcome);
void writeReductionStatistics(sqlite3* db, const SampleRoundOutcome& outcome);

} // namespace qv::store::sample
