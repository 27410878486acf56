#include "store/sample/sample_catalogue.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace qv::store::sample {

namespace {

struct BlockSlot {
    const char* block;
    int submarket;
    int megahertz;
    bool split; // the market's population is shared between two submarkets
};

constexpr BlockSlot blockSlots[] = {
    {"A", 1, 30, false}, {"B", 1, 30, false}, {"C", 1, 15, true}, {"C", 2, 15, true},
    {"D", 1, 10, false}, {"E", 1, 10, false}, {"F", 1, 10, true}, {"F", 2, 10, true},
};
constexpr int slotsPerMarket = static_cast<int>(std::size(blockSlots));

constexpr const char* cities[] = {
    "Albany, NY",      "Amarillo, TX",  "Asheville, NC",   "Augusta, GA",      "Bakersfield, CA",
    "Billings, MT",    "Boise, ID",     "Burlington, VT",  "Cedar Rapids, IA", "Charleston, WV",
    "Chattanooga, TN", "Duluth, MN",    "El Paso, TX",     "Erie, PA",         "Eugene, OR",
    "Fargo, ND",       "Flagstaff, AZ", "Fresno, CA",      "Green Bay, WI",    "Hartford, CT",
    "Honolulu, HI",    "Jackson, MS",   "Knoxville, TN",   "Lafayette, LA",    "Lansing, MI",
    "Lexington, KY",   "Lincoln, NE",   "Little Rock, AR", "Macon, GA",        "Madison, WI",
    "Mobile, AL",      "Missoula, MT",  "Omaha, NE",       "Pensacola, FL",    "Peoria, IL",
    "Portland, ME",    "Provo, UT",     "Reno, NV",        "Roanoke, VA",      "Rockford, IL",
    "Salem, OR",       "Santa Fe, NM",  "Savannah, GA",    "Sioux Falls, SD",  "Spokane, WA",
    "Springfield, MO", "Syracuse, NY",  "Tallahassee, FL", "Topeka, KS",       "Tucson, AZ",
    "Tulsa, OK",       "Wichita, KS",   "Wilmington, DE",  "Yakima, WA",
};
constexpr int cityCount = static_cast<int>(std::size(cities));

constexpr const char* firstWords[] = {
    "Northstar", "Coastal", "Prairie",  "Summit",  "Pioneer",  "Liberty",   "Redwood", "Harbor",
    "Keystone",  "Granite", "Meridian", "Cascade", "Frontier", "Bluewater", "Sierra",  "Heartland",
};
constexpr const char* lastWords[] = {
    "Wireless",          "PCS", "Communications", "Telecom", "Mobile", "Personal Communications", "Cellular",
    "Spectrum Partners",
};
constexpr int firstCount = static_cast<int>(std::size(firstWords));
constexpr int lastCount = static_cast<int>(std::size(lastWords));

constexpr int creditChoices[] = {0, 0, 0, 10, 15, 25, 35};

QString marketName(int market)
{
    const int index = (market - 1) % cityCount;
    const int lap = (market - 1) / cityCount;
    QString name = QString::fromLatin1(cities[index]);
    if (lap > 0)
        name += QStringLiteral(" (%1)").arg(lap + 1);
    return name;
}

QString bidderName(int index)
{
    const int first = index % firstCount;
    const int last = (index / firstCount) % lastCount;
    const int lap = index / (firstCount * lastCount);
    QString name =
        QString::fromLatin1(firstWords[first]) + QLatin1Char(' ') + QString::fromLatin1(lastWords[last]);
    if (lap > 0)
        name += QStringLiteral(" %1").arg(lap + 1);
    return name + (index % 3 == 0 ? QStringLiteral(", L.P.") : QStringLiteral(", Inc."));
}

} // namespace

qint64 roundUpToThousand(double amount)
{
    const qint64 thousands = static_cast<qint64>(std::ceil(amount / 1000.0));
    return std::max<qint64>(1, thousands) * 1000;
}

std::vector<SampleLicense> makeLicenses(int count, SampleRandom& random)
{
    const int markets = (count + slotsPerMarket - 1) / slotsPerMarket;
    const int digits = std::max(3, static_cast<int>(QString::number(markets).size()));
    std::vector<SampleLicense> licenses;
    licenses.reserve(static_cast<size_t>(count));
    qint64 population = 0;
    for (int i = 0; i < count; ++i) {
        const int market = i / slotsPerMarket + 1;
        const BlockSlot& slot = blockSlots[i % slotsPerMarket];
        if (i % slotsPerMarket == 0) {
            // Few large markets, many small ones.
            const double u = random.unit();
            population = 25000 + static_cast<qint64>(u * u * u * 6000000.0) / 100 * 100;
        }
        SampleLicense license;
        license.market = QStringLiteral("B%1").arg(market, digits, 10, QLatin1Char('0'));
        license.marketName = marketName(market);
        license.block = QString::fromLatin1(slot.block);
        license.submarket = slot.submarket;
        license.name = license.market + QLatin1Char('-') + license.block + QString::number(slot.submarket);
        license.population = slot.split ? population / 2 : population;
        license.biddingUnits = std::max<qint64>(1, license.population * slot.megahertz / 1000);
        license.openingBid = roundUpToThousand(static_cast<double>(license.biddingUnits) * 20.0);
        const double worth = random.unit();
        license.baseValue = static_cast<double>(license.openingBid) * (6.0 + 30.0 * worth * worth);
        license.minimumAccepted = license.openingBid;
        licenses.push_back(license);
    }
    return licenses;
}

std::vector<SampleBidder> makeBidders(int count, qint64 totalUnits, SampleRandom& random)
{
    std::vector<SampleBidder> bidders;
    bidders.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        SampleBidder bidder;
        bidder.name = bidderName(i);
        // Spaced so that no two bidders share an account.
        const qint64 accountNumber = 1000000 + qint64{i} * 7919 + random.below(7919);
        bidder.account = QStringLiteral("%1").arg(accountNumber, 10, 10, QLatin1Char('0'));
        bidder.creditPct = creditChoices[random.below(static_cast<int>(std::size(creditChoices)))];
        bidder.strength = 0.7 + 0.6 * random.unit();
        const double share = std::min(1.0, 3.0 / count * (0.2 + 1.6 * random.unit()));
        bidder.eligibility =
            std::max<qint64>(1, static_cast<qint64>(static_cast<double>(totalUnits) * share));
        bidders.push_back(bidder);
    }
    return bidders;
}

} // namespace qv::store::sample
