#include "store/sample/round_tables.h"

#include "store/sample/table_writer.h"

namespace qv::store::sample {

namespace {

using FT = FieldType;

constexpr int nameLength = 50;
constexpr int accountLength = 10;
constexpr int licenseLength = 20;
constexpr int marketLength = 8;
constexpr int blockLength = 2;

const SampleLicense& licenseOf(const AuctionSimulation& auction, int index)
{
    return auction.licenses()[static_cast<size_t>(index)];
}

const SampleBidder& bidderOf(const AuctionSimulation& auction, int index)
{
    return auction.bidders()[static_cast<size_t>(index)];
}

QString yesNo(bool value)
{
    return value ? QStringLiteral("Y") : QStringLiteral("N");
}

void writeAllBids(sqlite3* db, const AuctionSimulation& auction, const SampleRoundOutcome& outcome)
{
    TableWriter table(db, QStringLiteral("All Bids"),
                      {{"Auction ID", FT::Integer},
                       {"Round", FT::Integer},
                       {"License Name", FT::Text, licenseLength},
                       {"Market", FT::Text, marketLength},
                       {"Block", FT::Text, blockLength},
                       {"Submarket", FT::Integer},
                       {"Bidder", FT::Text, nameLength},
                       {"Zelnar Acct", FT::Text, accountLength},
                       {"Increments of Bid", FT::Integer},
                       {"Gross Bid Amount", FT::Currency},
                       {"Bidding Credit", FT::Double},
                       {"Net Bid Amount", FT::Currency},
                       {"New High Bid", FT::Text, 1}});
    for (const SampleBid& bid : outcome.bids) {
        const SampleLicense& license = licenseOf(auction, bid.license);
        const SampleBidder& bidder = bidderOf(auction, bid.bidder);
        table.add(auction.auction()).add(outcome.figures.round);
        table.add(license.name).add(license.market).add(license.block).add(license.submarket);
        table.add(bidder.name).add(bidder.account).add(bid.increments);
        table.addMoney(bid.gross).add(static_cast<double>(bidder.creditPct)).addMoney(bid.net);
        table.add(yesNo(bid.becameHighBid));
        table.endRow();
    }
}

// One row per licence: its standing after the round and its price for the next.
void writeMarkets(sqlite3* db, const AuctionSimulation& auction, const SampleRoundOutcome& outcome)
{
    TableWriter table(db, QStringLiteral("Markets"),
                      {{"Auction ID", FT::Integer},
                       {"Round", FT::Integer},
                       {"License Name", FT::Text, licenseLength},
                       {"Market Name", FT::Text, nameLength},
                       {"Market", FT::Text, marketLength},
                       {"Block", FT::Text, blockLength},
                       {"Submarket", FT::Integer},
                       {"Population", FT::Integer},
                       {"Bidding Units", FT::Integer},
                       {"Minimum Opening Bid", FT::Currency},
                       {"High Bid", FT::Currency},
                       {"Net High Bid", FT::Currency},
                       {"High Bidder", FT::Text, nameLength},
                       {"Zelnar Acct", FT::Text, accountLength},
                       {"Round of High Bid", FT::Integer},
                       {"Number of Bids", FT::Integer},
                       {"Minimum Accepted Bid", FT::Currency},
                       {"Zelnar Held", FT::Text, 1}});
    const std::vector<SampleLicense>& licenses = auction.licenses();
    for (size_t i = 0; i < licenses.size(); ++i) {
        const SampleLicense& license = licenses[i];
        table.add(auction.auction()).add(outcome.figures.round).add(license.name).add(license.marketName);
        table.add(license.market).add(license.block).add(license.submarket);
        table.add(license.population).add(license.biddingUnits).addMoney(license.openingBid);
        if (license.highBidder >= 0) {
            const SampleBidder& holder = bidderOf(auction, license.highBidder);
            table.addMoney(license.highGross).addMoney(license.highNet).add(holder.name).add(holder.account);
            table.add(license.highRound);
        } else {
            table.addNull().addNull().addNull().addNull().addNull();
        }
        table.add(outcome.bidsPerLicense[i]).addMoney(license.minimumAccepted).add(yesNo(license.zelnarHeld));
        table.endRow();
    }
}

// One row per bidder, eligible or not.
void writeBidders(sqlite3* db, const AuctionSimulation& auction, const SampleRoundOutcome& outcome)
{
    TableWriter table(db, QStringLiteral("Bidders"),
                      {{"Round", FT::Integer},
                       {"Bidder", FT::Text, nameLength},
                       {"Zelnar Acct", FT::Text, accountLength},
                       {"Bidding Credit", FT::Double},
                       {"Current Eligibility", FT::Integer},
                       {"Activity", FT::Integer},
                       {"Required Activity", FT::Integer},
                       {"Additional Activity Required", FT::Integer},
                       {"High Bids", FT::Integer},
                       {"Gross High Bids", FT::Currency},
                       {"Net High Bids", FT::Currency},
                       {"Waivers Remaining", FT::Integer}});
    const std::vector<SampleBidder>& bidders = auction.bidders();
    for (size_t i = 0; i < bidders.size(); ++i) {
        const SampleBidder& bidder = bidders[i];
        const SampleBidderRound& mine = outcome.bidderRounds[i];
        table.add(outcome.figures.round).add(bidder.name).add(bidder.account);
        table.add(static_cast<double>(bidder.creditPct)).add(bidder.eligibility);
        table.add(mine.activity).add(mine.required).add(mine.additionalRequired);
        table.add(mine.highBids).addMoney(mine.grossHighBids).addMoney(mine.netHighBids).add(bidder.waivers);
        table.endRow();
    }
}

void writeRaisingOwnHighBid(sqlite3* db, const AuctionSimulation& auction, const SampleRoundOutcome& outcome)
{
    TableWriter table(db, QStringLiteral("Bidders Raising Own High Bid"),
                      {{"Round", FT::Integer},
                       {"License Name", FT::Text, licenseLength},
                       {"Market", FT::Text, marketLength},
                       {"Block", FT::Text, blockLength},
                       {"Submarket", FT::Integer},
                       {"Bidder", FT::Text, nameLength},
                       {"Zelnar Acct", FT::Text, accountLength},
                       {"Previous High Bid", FT::Currency},
                       {"Gross Bid Amount", FT::Currency},
                       {"Net Bid Amount", FT::Currency}});
    for (const SampleBid& bid : outcome.bids) {
        if (!bid.raisesOwnHighBid)
            continue;
        const SampleLicense& license = licenseOf(auction, bid.license);
        const SampleBidder& bidder = bidderOf(auction, bid.bidder);
        table.add(outcome.figures.round).add(license.name).add(license.market).add(license.block);
        table.add(license.submarket).add(bidder.name).add(bidder.account);
        table.addMoney(bid.previousHighBid).addMoney(bid.gross).addMoney(bid.net);
        table.endRow();
    }
}

void writeBiddersWhoReduced(sqlite3* db, const AuctionSimulation& auction, const SampleRoundOutcome& outcome)
{
    TableWriter table(db, QStringLiteral("Bidders Who Reduced"),
                      {{"Round", FT::Integer},
                       {"Bidder Who Reduced", FT::Text, nameLength},
                       {"Zelnar Acct", FT::Text, accountLength},
                       {"Previous Eligibility", FT::Integer},
                       {"Current Eligibility", FT::Integer},
                       {"Activity", FT::Integer},
                       {"Required Activity", FT::Integer}});
    const std::vector<SampleBidder>& bidders = auction.bidders();
    for (size_t i = 0; i < bidders.size(); ++i) {
        const SampleBidderRound& mine = outcome.bidderRounds[i];
        if (!mine.reduced)
            continue;
        table.add(outcome.figures.round).add(bidders[i].name).add(bidders[i].account);
        table.add(mine.eligibilityBefore).add(bidders[i].eligibility).add(mine.activity).add(mine.required);
        table.endRow();
    }
}

// Tables an engine or a publisher's tools leave behind: only SysY looks like
// the agency's own.
void writeEngineTables(sqlite3* db, const SampleRoundOutcome& outcome)
{
    {
        TableWriter table(db, QStringLiteral("MSysObjects"),
                          {{"Id", FT::Integer}, {"Name", FT::Text, 255}, {"Type", FT::Integer}});
        table.add(1).add(QStringLiteral("MSysObjects")).add(1).endRow();
        table.add(2).add(QStringLiteral("Round Statistics")).add(1).endRow();
    }
    {
        TableWriter table(db, QStringLiteral("sysX"), {{"Note", FT::Text, nameLength}});
        table.add(QStringLiteral("publisher's own bookkeeping")).endRow();
    }
    TableWriter table(db, QStringLiteral("SysY"), {{"Round", FT::Integer}, {"Note", FT::Text, nameLength}});
    table.add(outcome.figures.round).add(QStringLiteral("an ordinary table")).endRow();
}

} // namespace

void writeRoundTables(sqlite3* db, const AuctionSimulation& auction, const SampleRoundOutcome& outcome,
                      bool engineTables)
{
    writeRoundStatistics(db, auction, outcome);
    writeAllBids(db, auction, outcome);
    writeMarkets(db, auction, outcome);
    writeBidders(db, auction, outcome);
    writeRaisingOwnHighBid(db, auction, outcome);
    writeBiddersWhoReduced(db, auction, outcome);
    writeWithdrawalStatistics(db, auction);
    writeIncrementStatistics(db, outcome);
    writeWaiverStatistics(db, auction, outcome);
    writeMiscellaneousStatistics(db, outcome);
    writeReductionStatistics(db, outcome);
    if (engineTables)
        writeEngineTables(db, outcome);
}

} // namespace qv::store::sample
