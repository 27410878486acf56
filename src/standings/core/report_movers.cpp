#include "standings/core/report_movers.h"

#include "standings/core/round_standings.h"

#include <algorithm>
#include <numeric>

namespace qv::standings {

namespace {

double rise(const LicenseStanding& licence)
{
    return licence.increase().value_or(0.0);
}

// 0 rose in price, 1 changed hands, 2 held by the agency, 3 the rest.
int group(const LicenseStanding& licence)
{
    if (rise(licence) > 0)
        return 0;
    if (licence.now.changesHandsFrom(licence.before))
        return 1;
    return licence.now.kind == HolderKind::Agency ? 2 : 3;
}

} // namespace

std::vector<size_t> licencesMostTellingFirst(const RoundStandings& standings)
{
    const std::vector<LicenseStanding>& licences = standings.licenses;
    std::vector<size_t> order(licences.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int groupA = group(licences[a]), groupB = group(licences[b]);
        if (groupA != groupB)
            return groupA < groupB;
        return groupA == 0 && rise(licences[a]) > rise(licences[b]);
    });
    return order;
}

std::vector<size_t> topMovers(const RoundStandings& standings, size_t count)
{
    std::vector<size_t> movers;
    for (size_t licence : licencesMostTellingFirst(standings)) {
        if (movers.size() == count || rise(standings.licenses[licence]) <= 0)
            break;
        movers.push_back(licence);
    }
    return movers;
}

} // namespace qv::standings
