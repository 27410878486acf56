#pragma once

#include <cstddef>
#include <vector>

namespace qv::standings {

struct RoundStandings;

// The report's licences, most telling first: those whose price rose, the
// largest increase first; then those that changed hands; then those the
// agency holds; then the rest in the order of [Markets]. Indexes of
// standings.licenses.
std::vector<size_t> licencesMostTellingFirst(const RoundStandings& standings);

// The licences whose price rose most in the round, at most count of them,
// the largest increase first (ties in the order of [Markets]).
std::vector<size_t> topMovers(const RoundStandings& standings, size_t count);

} // namespace qv::standings
