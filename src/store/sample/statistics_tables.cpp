#include "store/sample/round_tables.h"

#include "store/sample/table_writer.h"

#include <QVariant>

#include <array>
#include <cmath>

namespace qv::store::sample {

namespace {

using FT = FieldType;

constexpr int nameLength = 50;
constexpr int accountLength = 10;

} // namespace

void writeRoundStatistics(sqlite3* db, const AuctionSimulation& auction, const SampleRoundOutcome& outcome)
{
    TableWriter table(db, QStringLiteral("Round Statistics"),
                      {{"Auction ID", FT::Integer},
                       {"Round", FT::Integer},
                       {"Round Date", FT::Date},
                       {"Stage", FT::Integer},
                       {"Net Bids", FT::Currency},
                       {"Gross Bids", FT::Currency},
                       {"Dollar Change in Net Bids", FT::Currency},
                       {"New Bids", FT::Integer},
                       {"Total High Bids", FT::Integer},
                       {"Zelnar Held Licenses", FT::Integer},
                       {"Withdrawals", FT::Integer},
                       {"Eligibility Ratio", FT::Double},
                       {"Pctg of BUs for High Bids", FT::Double},
                       {"Bidders At Risk", FT::Integer},
                       {"Eligible Bidders", FT::Integer},
                       {"Waivers", FT::Integer},
                       {"Number Reduced", FT::Integer},
                       {"Pctg of Covered BUs", FT::Double},
                       {"Total Eligibility", FT::Integer},
                       {"Licenses Offered", FT::Integer}});
    const SampleRoundFigures& f = outcome.figures;
    table.add(auction.auction()).add(f.round).add(dateToStorage(QVariant(f.date))).add(f.stage);
    table.addMoney(f.netBids).addMoney(f.grossBids).addMoney(f.netChange);
    table.add(f.newBids).add(f.totalHighBids).add(f.zelnarHeld).add(f.withdrawals);
    table.add(f.eligibilityRatio).add(f.pctNewHighBidUnits).add(f.biddersAtRisk).add(f.eligibleBidders);
    table.add(f.waivers).add(f.reduced).add(f.pctCoveredUnits).add(f.totalEligibility);
    table.add(static_cast<int>(auction.licenses().size()));
    table.endRow();
}

// Every withdrawal of the auction so far: the table is replaced whole on import.
void writeWithdrawalStatistics(sqlite3* db, const AuctionSimulation& auction)
{
    TableWriter table(db, QStringLiteral("Withdrawal Statistics"),
                      {{"Withdrawal Number", FT::Integer},
                       {"Withdrawal Round", FT::Integer},
                       {"License Name", FT::Text, 20},
                       {"Market", FT::Text, 8},
                       {"Block", FT::Text, 2},
                       {"Submarket", FT::Integer},
                       {"Bidder", FT::Text, nameLength},
                       {"Zelnar Acct", FT::Text, accountLength},
                       {"Withdrawn Gross Bid", FT::Currency},
                       {"Withdrawn Net Bid", FT::Currency}});
    for (const SampleWithdrawal& withdrawal : auction.withdrawals()) {
        const SampleLicense& license = auction.licenses()[static_cast<size_t>(withdrawal.license)];
        const SampleBidder& bidder = auction.bidders()[static_cast<size_t>(withdrawal.bidder)];
        table.add(withdrawal.number).add(withdrawal.round).add(license.name).add(license.market);
        table.add(license.block).add(license.submarket).add(bidder.name).add(bidder.account);
        table.addMoney(withdrawal.gross).addMoney(withdrawal.net);
        table.endRow();
    }
}

// How many bids went in at one, two and three increments: always three rows.
void writeIncrementStatistics(sqlite3* db, const SampleRoundOutcome& outcome)
{
    TableWriter table(db, QStringLiteral("Increment Statistics"),
                      {{"Round", FT::Integer},
                       {"Increments of Bid", FT::Integer},
                       {"Number of Bids", FT::Integer},
                       {"Pctg of Bids", FT::Double},
                       {"Gross Bid Amount", FT::Currency}});
    std::array<int, 3> counts{};
    std::array<qint64, 3> amounts{};
    for (const SampleBid& bid : outcome.bids) {
        const size_t slot = static_cast<size_t>(bid.increments - 1);
        ++counts[slot];
        amounts[slot] += bid.gross;
    }
    const double total = static_cast<double>(outcome.bids.size());
    for (size_t i = 0; i < counts.size(); ++i) {
        const double share = total > 0 ? std::round(10000.0 * counts[i] / total) / 100.0 : 0.0;
        table.add(outcome.figures.round).add(static_cast<int>(i) + 1).add(counts[i]).add(share);
        table.addMoney(amounts[i]).endRow();
    }
}

void writeWaiverStatistics(sqlite3* db, const AuctionSimulation& auction, const SampleRoundOutcome& outcome)
{
    TableWriter table(db, QStringLiteral("Waiver Statistics"),
                      {{"Round", FT::Integer},
                       {"Bidder", FT::Text, nameLength},
                       {"Zelnar Acct", FT::Text, accountLength},
                       {"Waiver Type", FT::Text, 10},
                       {"Activity", FT::Integer},
                       {"Required Activity", FT::Integer},
                       {"Waivers Remaining", FT::Integer}});
    const std::vector<SampleBidder>& bidders = auction.bidders();
    for (size_t i = 0; i < bidders.size(); ++i) {
        const SampleBidderRound& mine = outcome.bidderRounds[i];
        if (!mine.usedWaiver)
            continue;
        // A bidder that placed no bid at all asked for its waiver itself.
        const QString type = mine.activity > 0 ? QStringLiteral("Automatic") : QStringLiteral("Proactive");
        table.add(outcome.figures.round).add(bidders[i].name).add(bidders[i].account).add(type);
        table.add(mine.activity).add(mine.required).add(bidders[i].waivers);
        table.endRow();
    }
}

void writeMiscellaneousStatistics(sqlite3* db, const SampleRoundOutcome& outcome)
{
    TableWriter table(db, QStringLiteral("Miscellaneous Statistics"),
                      {{"Round", FT::Integer},
                       {"Stage", FT::Integer},
                       {"Round of Day", FT::Integer},
                       {"Activity Requirement", FT::Double},
                       {"Bid Increment", FT::Double},
                       {"Bidders Bidding", FT::Integer},
                       {"Licenses Receiving Bids", FT::Integer}});
    const SampleRoundFigures& f = outcome.figures;
    table.add(f.round).add(f.stage).add(f.roundOfDay).add(f.activityPct).add(f.incrementPct);
    table.add(f.biddersBidding).add(f.licensesWithBids);
    table.endRow();
}

void writeReductionStatistics(sqlite3* db, const SampleRoundOutcome& outcome)
{
    TableWriter table(db, QStringLiteral("Reduction Statistics"),
                      {{"Round", FT::Integer},
                       {"Bidders Reduced", FT::Integer},
                       {"Eligibility Before", FT::Integer},
                       {"Eligibility After", FT::Integer},
                       {"Eligibility Lost", FT::Integer},
                       {"Pctg Lost", FT::Double}});
    qint64 before = 0;
    for (const SampleBidderRound& mine : outcome.bidderRounds)
        before += mine.eligibilityBefore;
    const qint64 after = outcome.figures.totalEligibility;
    const qint64 lost = before - after;
    const double pct =
        before > 0 ? std::round(10000.0 * static_cast<double>(lost) / static_cast<double>(before)) / 100.0
                   : 0.0;
    table.add(outcome.figures.round).add(outcome.figures.reduced).add(before).add(after).add(lost).add(pct);
    table.endRow();
}

} // namespace qv::store::sample
