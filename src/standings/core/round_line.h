#pragma once

#include <QString>

namespace qv::standings {

struct RoundStandings;

// What a round changed, in one line for a log: "Round 13: 41 new high bids,
// 12 licences changed hands, 3 withdrawals, net bids $1,234,567,000 (+2.1%)".
// Parts the auction has no figures for are left out.
QString roundLine(const RoundStandings& standings);

} // namespace qv::standings
