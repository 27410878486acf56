// The standings of a hand-built auction of five rounds, whose answers are
// worked out by hand (support/five_round_auction.h tells the story), read
// once with every column and once from files that lack the optional ones.
#include "common/error.h"
#include "standings/core/holdings_replay.h"
#include "standings/core/report_html.h"
#include "standings/core/round_line.h"
#include "standings/core/round_standings.h"
#include "standings/core/standings_charts.h"
#include "standings/core/standings_tables.h"
#include "store/auction_schema.h"
#include "store/database.h"
#include "store/sqlite_statement.h"
#include "support/five_round_auction.h"
#include "support/qt_printers.h"
#include "support/query_plan.h"
#include "support/statement_log.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::standings;

namespace {

class FiveRounds : public ::testing::Test {
protected:
    void SetUp() override { path = test::makeFiveRoundAuction(dir.path()); }
    store::DatabasePtr open() { return store::Database::open(path); }
    RoundStandings at(int round) { return computeRoundStandings(*open(), round); }

    test::TempDir dir;
    QString path;
};

QStringList texts(std::initializer_list<const char*> lines)
{
    QStringList list;
    for (const char* line : lines)
        list << QString::fromUtf8(line);
    return list;
}

QStringList holders(const RoundStandings& standings)
{
    QStringList names;
    for (const LicenseStanding& licence : standings.licenses)
        names << licence.holder;
    return names;
}

const LicenseStanding& licence(const RoundStandings& standings, const QString& name)
{
    for (const LicenseStanding& l : standings.licenses)
        if (l.name == name)
            return l;
    throw std::runtime_error("no such licence");
}

const BidderStanding& bidder(const RoundStandings& standings, const QString& name)
{
    for (const BidderStanding& b : standings.bidders)
        if (b.name == name)
            return b;
    throw std::runtime_error("no such bidder");
}

// A view's rows as they show, cells between bars.
QStringList shown(const StandingsTable& table)
{
    QStringList lines;
    for (const QVariantList& row : table.rows) {
        QStringList cells;
        for (size_t c = 0; c < table.columns.size(); ++c)
            cells << cellText(row.value(static_cast<qsizetype>(c)), table.columns[c].kind);
        lines << cells.join(QLatin1Char('|'));
    }
    return lines;
}

QStringList changes(const RoundStandings& standings)
{
    return shown(changeTable(standings));
}

} // namespace

TEST_F(FiveRounds, ARoundsLicencesAreSearchedThroughTheAuctionsIndex)
{
    auto db = open();
    db->execute(store::schema::CreateSuppliedTables);
    for (const char* table : {"All Bids", "Markets"})
        db->execute(store::schema::insertSuppliedTable(QString::fromUtf8(table)));
    store::schema::ensureRoundIndexes(*db);
    test::StatementLog log(db->handle());
    computeRoundStandings(*db, 3);
    const QStringList byRound = log.matching(QStringLiteral("\"Markets\" WHERE \"Round\""));
    ASSERT_FALSE(byRound.isEmpty()) << log.statements.join(QLatin1Char('\n')).toStdString();
    for (const QString& sql : byRound)
        EXPECT_EQ(test::tableScans(test::queryPlan(db->handle(), sql)), QStringList()) << sql.toStdString();
}

TEST_F(FiveRounds, HoldersRoundByRound)
{
    const char* const expected[5][5] = {
        {"Heron", "Kestrel", "", "Wren [West]", ""},
        {"Kestrel", "Kestrel", "", "Wren [West]", ""},
        {"Heron", "(agency)", "", "Wren [West]", ""},
        {"Heron", "(agency)", "", "Wren [West]", "Kestrel"},
        {"Heron", "O'Brien Mobile", "", "Wren [West]", "Kestrel"},
    };
    for (int round = 1; round <= 5; ++round) {
        QStringList wanted;
        for (const char* name : expected[round - 1])
            wanted << QString::fromUtf8(name);
        EXPECT_EQ(holders(at(round)), wanted) << "round " << round;
    }
}

TEST_F(FiveRounds, LicencesOfTheLastRound)
{
    const RoundStandings r5 = at(5);
    ASSERT_EQ(r5.previousRound, 4);
    const QStringList rows = shown(licenceTable(r5));
    // Licence, market, holder, high bid, net, increase, %, rounds since changing hands, bidders,
    // withdrawn bid (while the agency holds it), check.
    EXPECT_EQ(rows, texts({
                        "A-1|Albany|Heron|$121|$121|$0|0.0%|2|1||",
                        // Back from the agency: measured against Kestrel's withdrawn $200.
                        "B-2|Boston|O'Brien Mobile|$180|$135|-$20|-10.0%|0|1||",
                        "C-3|Chicago & <Gary>|||||||0||",
                        // Gross and net from one source: no net while the agency's gross is not the bid's.
                        "D[4]|Denver|Wren [West]|$60||$5|+9.1%|4|0||[High Bid] $60 differs from the "
                        "holder's bid $55",
                        "E-5|El Paso|Kestrel|$300|$300|$0|0.0%|1|0||",
                    }));
    // Totals under the view: a blank net adds nothing; the agency's and nobody's licences nothing.
    EXPECT_EQ(totalsText(licenceTable(r5)), QStringLiteral("Total: High Bid $661, Net High Bid $556"));
    EXPECT_EQ(
        totalsText(bidderTable(r5)),
        QStringLiteral("Total: Licences Held 4, High Bids Held $661, Net High Bids Held $556, Gained 1, "
                       "Lost 0, Bids This Round 2, Exposure $777"));
    EXPECT_EQ(totalsText(changeTable(r5)), QString());
    // By market: one licence each here; Boston's is held by a bidder again.
    const QStringList markets = shown(marketTable(r5));
    EXPECT_EQ(markets[1], QStringLiteral("Boston|1|1|0|$180|$135"));
    EXPECT_EQ(markets[2], QStringLiteral("Chicago & <Gary>|1|0|0|$0|$0"));
    EXPECT_EQ(
        totalsText(marketTable(r5)),
        QStringLiteral("Total: Licences 5, Held 4, Held by the Agency 0, High Bid $661, Net High Bid $556"));
    EXPECT_EQ(shown(marketTable(at(3)))[1], QStringLiteral("Boston|1|0|1|$0|$0"));
    EXPECT_EQ(r5.checks, 1);
    EXPECT_TRUE(
        r5.notes.contains(QStringLiteral("1 licence's standing in [Markets] disagrees with the bids (see "
                                         "Check).")))
        << r5.notes.join(QLatin1Char('\n')).toStdString();
}

// Where [Markets] names the high bidder, the agency's word is the standing and
// the bids are its check: E-5 draws two new high bids of 300 in round 4, and
// the agency names the second bidder; D[4]'s net comes from [Net High Bid].
TEST_F(FiveRounds, TheAgencysStandingComesFirst)
{
    {
        auto db = open();
        for (const char* statement : {
                 "ALTER TABLE Markets ADD COLUMN \"High Bidder\" TEXT",
                 "ALTER TABLE Markets ADD COLUMN \"Net High Bid\" REAL",
                 "ALTER TABLE Markets ADD COLUMN \"Round of High Bid\" INTEGER",
                 "ALTER TABLE Markets ADD COLUMN \"Zelnar Held\" TEXT",
                 "UPDATE Markets SET \"Zelnar Held\" = 'N', \"Net High Bid\" = \"High Bid\"",
                 "UPDATE Markets SET (\"High Bidder\", \"Round of High Bid\") = (SELECT Bidder, Round FROM "
                 "\"All Bids\" b WHERE b.\"License Name\" = Markets.\"License Name\" AND b.\"New High Bid\" "
                 "= "
                 "'Y' AND b.Round <= Markets.Round ORDER BY b.Round DESC LIMIT 1)",
                 "UPDATE Markets SET \"High Bidder\" = NULL, \"Round of High Bid\" = NULL, \"Zelnar Held\" = "
                 "'Y' "
                 "WHERE \"License Name\" = 'B-2' AND Round IN (3, 4)",
                 "UPDATE Markets SET \"Net High Bid\" = 51 WHERE \"License Name\" = 'D[4]' AND Round = 5",
                 "UPDATE \"All Bids\" SET \"New High Bid\" = 'Y' WHERE \"License Name\" = 'E-5'",
             })
            store::exec(db->handle(), QLatin1String(statement));
    }
    const RoundStandings r5 = at(5);
    EXPECT_EQ(holders(r5), texts({"Heron", "O'Brien Mobile", "", "Wren [West]", "Kestrel"}));
    const LicenseStanding& e5 = licence(r5, QStringLiteral("E-5"));
    EXPECT_EQ(e5.check,
              QStringLiteral("[High Bidder] is Kestrel; the bids give Heron; 2 new high bids in round "
                             "4 (Heron $300, Kestrel $300)"));
    EXPECT_EQ(e5.roundsSinceChange, std::nullopt) << "not known while the two disagree";
    const LicenseStanding& d4 = licence(r5, QStringLiteral("D[4]"));
    EXPECT_EQ(d4.gross, 60);
    EXPECT_EQ(d4.net, 51);
    EXPECT_EQ(r5.checks, 2);
    EXPECT_EQ(bidder(r5, QStringLiteral("Kestrel")).held, 1);
    EXPECT_EQ(bidder(r5, QStringLiteral("Heron")).held, 1);
    EXPECT_EQ(changes(at(4)).first(), QStringLiteral("New holder|E-5||Kestrel|$300|"));
    EXPECT_EQ(holders(at(3)), texts({"Heron", "(agency)", "", "Wren [West]", ""}));
    EXPECT_EQ(at(3).checks, 0);
}

// A withdrawal list behind the round statistics (an older round imported
// after a newer one): a warning that says what to do, first of the notes,
// and at the top of the report.
TEST_F(FiveRounds, AWithdrawalListBehindTheStatisticsIsAWarning)
{
    open()->execute(QStringLiteral("UPDATE [Round Statistics] SET [Withdrawals] = 5 WHERE [Round] = 2"));
    const RoundStandings r4 = at(4);
    ASSERT_EQ(r4.warnings.size(), 1);
    EXPECT_EQ(r4.warnings[0],
              QStringLiteral("[Round Statistics] counts 6 withdrawals up to round 4, [Withdrawal "
                             "Statistics] lists 1: the withdrawal list is behind the round "
                             "statistics (an older round imported after a newer one?), so a "
                             "withdrawn licence may show the wrong holder. Import the newest "
                             "round again."));
    EXPECT_EQ(r4.notes.value(0), r4.warnings[0]);
    const QString html = QString::fromUtf8(reportHtml(r4, {}));
    const qsizetype warning = html.indexOf(QStringLiteral("<div class=\"warning\" role=\"alert\">"));
    EXPECT_GT(warning, html.indexOf(QStringLiteral("</h1>")));
    EXPECT_LT(warning, html.indexOf(QStringLiteral("<p>")));
    EXPECT_EQ(html.count(QStringLiteral("counts 6 withdrawals")), 1) << "once, not again among the notes";
    EXPECT_TRUE(at(1).warnings.isEmpty());
}

// What the next round asks, where [Markets] carries it: the minimum accepted
// bid and the increment it implies over the standing bid, the price per head
// of population, the bidding units (and those a bidder holds); columns that
// are not there are not shown.
TEST_F(FiveRounds, NextRoundFiguresWhereMarketsCarriesThem)
{
    {
        auto db = open();
        for (const char* statement :
             {"ALTER TABLE Markets ADD COLUMN \"Minimum Accepted Bid\" REAL",
              "ALTER TABLE Markets ADD COLUMN Population INTEGER",
              "ALTER TABLE Markets ADD COLUMN \"Bidding Units\" INTEGER",
              "UPDATE Markets SET \"Minimum Accepted Bid\" = \"High Bid\" + 12, Population = 400, \"Bidding "
              "Units\" = 7",
              "UPDATE Markets SET \"Minimum Accepted Bid\" = 200 WHERE \"License Name\" = 'C-3'",
              "UPDATE Markets SET \"Minimum Accepted Bid\" = 180 WHERE \"License Name\" = 'B-2' AND Round IN "
              "(3, 4)"})
            store::exec(db->handle(), QLatin1String(statement));
    }
    const StandingsTable table = licenceTable(at(5));
    QStringList names;
    for (const TableColumn& column : table.columns)
        names << column.name;
    EXPECT_EQ(names.mid(9), texts({"Withdrawn Bid", "Minimum Accepted Bid", "Next Increment", "Price per Pop",
                                   "Bidding Units", "Check"}));
    const QStringList rows = shown(table);
    EXPECT_EQ(rows[0], QStringLiteral("A-1|Albany|Heron|$121|$121|$0|0.0%|2|1||$133|$12|$0.30|7|"));
    EXPECT_EQ(rows[2], QStringLiteral("C-3|Chicago & <Gary>|||||||0||$200|||7|"))
        << "no increment without a holder";
    // Held by the agency: the bid withdrawn, and the price it is offered at again.
    EXPECT_EQ(shown(licenceTable(at(4)))[1], QStringLiteral("B-2|Boston|(agency)|||||3|0|$200|$180|||7|"));
    // Kestrel holds E-5 alone: 7 bidding units against an eligibility of 80.
    const QStringList bidders = shown(bidderTable(at(5)));
    EXPECT_TRUE(bidders.contains(QStringLiteral("Kestrel|1|$300|$300|0|0|1|80|7|40|$421")))
        << bidders.join(QLatin1Char('\n')).toStdString();
}

// Exposure: the standing bids going into the round plus the new bids, a
// raise of one's own standing bid counted once. Activity, required activity
// and waivers show only where [Bidders] carries them.
TEST_F(FiveRounds, BiddersExposureAndActivity)
{
    EXPECT_EQ(bidder(at(3), QStringLiteral("Wren [West]")).exposure, 55) << "50 raised to 55, not 105";
    EXPECT_EQ(bidder(at(3), QStringLiteral("Kestrel")).exposure, 310) << "held 110 + 200, no new bid";
    EXPECT_EQ(bidder(at(5), QStringLiteral("Kestrel")).exposure, 421) << "holds 300, bids 121 elsewhere";
    EXPECT_EQ(bidder(at(1), QStringLiteral("Heron")).exposure, 100);
    const auto lastNames = [](const StandingsTable& table) {
        QStringList names;
        for (const TableColumn& column : table.columns)
            names << column.name;
        return names.mid(8);
    };
    EXPECT_EQ(lastNames(bidderTable(at(5))), texts({"Additional Activity Required", "Exposure"}));
    {
        auto db = open();
        for (const char* statement :
             {"ALTER TABLE Bidders ADD COLUMN Activity INTEGER",
              "ALTER TABLE Bidders ADD COLUMN \"Required Activity\" INTEGER",
              "ALTER TABLE Bidders ADD COLUMN \"Waivers Remaining\" INTEGER",
              "UPDATE Bidders SET Activity = 70, \"Required Activity\" = 64, \"Waivers Remaining\" = 3 "
              "WHERE Bidder = 'Kestrel' AND Round = 5"})
            store::exec(db->handle(), QLatin1String(statement));
    }
    const StandingsTable table = bidderTable(at(5));
    EXPECT_EQ(lastNames(table), texts({"Additional Activity Required", "Activity", "Required Activity",
                                       "Waivers Remaining", "Exposure"}));
    const QStringList rows = shown(table);
    EXPECT_TRUE(rows.contains(QStringLiteral("Kestrel|1|$300|$300|0|0|1|80|40|70|64|3|$421")))
        << rows.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(rows.contains(QStringLiteral("Heron|1|$121|$121|0|0|0|150|75||||$121")))
        << "a round without them leaves them blank";
}

// Where [Markets] carries [Block], the blocks follow the markets, and the
// total counts each licence once.
TEST_F(FiveRounds, TotalsByMarketAndBlock)
{
    {
        auto db = open();
        for (const char* statement :
             {"ALTER TABLE Markets ADD COLUMN Block TEXT",
              "UPDATE Markets SET Block = 'A' WHERE \"License Name\" IN ('A-1', 'B-2')",
              "UPDATE Markets SET Block = 'B' WHERE Block IS NULL"})
            store::exec(db->handle(), QLatin1String(statement));
    }
    const StandingsTable table = marketTable(at(5));
    const QStringList rows = shown(table);
    ASSERT_EQ(rows.size(), 7);
    EXPECT_EQ(rows[0], QStringLiteral("Albany||1|1|0|$121|$121"));
    EXPECT_EQ(rows.mid(5), texts({"|A|2|2|0|$301|$256", "|B|3|2|0|$360|$300"}));
    EXPECT_EQ(
        totalsText(table),
        QStringLiteral("Total: Licences 5, Held 4, Held by the Agency 0, High Bid $661, Net High Bid $556"));
}

TEST_F(FiveRounds, BiddersHoldingsAndEligibility)
{
    struct Row {
        int round;
        const char* bidder;
        int held, gained, lost, bids;
        double gross, eligibility;
    };
    const Row rows[] = {
        {2, "Heron", 0, 0, 1, 1, 0, 150},           {2, "Kestrel", 2, 1, 0, 1, 310, 100},
        {3, "Heron", 1, 1, 0, 1, 121, 150},         {3, "Kestrel", 0, 0, 2, 0, 0, 100},
        {3, "Wren [West]", 1, 0, 0, 1, 55, 40},     {4, "Kestrel", 1, 1, 0, 1, 300, 100},
        {5, "O'Brien Mobile", 1, 1, 0, 1, 180, 60}, {5, "Kestrel", 1, 0, 0, 1, 300, 80},
        {5, "Wren [West]", 1, 0, 0, 0, 60, 0},
    };
    for (const Row& row : rows) {
        const BidderStanding b = bidder(at(row.round), QString::fromUtf8(row.bidder));
        SCOPED_TRACE(std::string(row.bidder) + " round " + std::to_string(row.round));
        EXPECT_EQ(b.held, row.held);
        EXPECT_EQ(b.gained, row.gained);
        EXPECT_EQ(b.lost, row.lost);
        EXPECT_EQ(b.bids, row.bids);
        EXPECT_DOUBLE_EQ(b.gross, row.gross);
        EXPECT_EQ(b.eligibility, row.eligibility);
    }
    EXPECT_EQ(bidder(at(5), QStringLiteral("O'Brien Mobile")).net, 135);
    // Most licences held first: Kestrel with two after round 2.
    EXPECT_EQ(at(2).bidders.front().name, QStringLiteral("Kestrel"));
}

TEST_F(FiveRounds, ChangesAgainstTheRoundBefore)
{
    EXPECT_EQ(changes(at(3)), texts({
                                  "Changed hands|A-1|Kestrel|Heron|$121|+10.0%",
                                  "Withdrawn|B-2|Kestrel||$200|",
                                  "Held by the agency|B-2|Kestrel|(agency)||",
                              }));
    EXPECT_EQ(changes(at(4)), texts({
                                  "New holder|E-5||Kestrel|$300|",
                                  "Eligibility reached 0|Wren [West]|40|0||-100.0%",
                              }));
    EXPECT_EQ(changes(at(5)), texts({
                                  "Changed hands|B-2|(agency)|O'Brien Mobile|$180|-10.0%",
                                  "Eligibility fell|Kestrel|100|80||-20.0%",
                              }));
    // Raising one's own high bid is not a change of hands.
    for (const QString& line : changes(at(3)))
        EXPECT_FALSE(line.contains(QStringLiteral("D[4]"))) << line.toStdString();
    // Kestrel withdraws B-2 in round 3 and bids on it again in that round:
    // the bid withdrawn is the one before, not the new one.
    open()->execute(
        QStringLiteral("INSERT INTO [All Bids] VALUES (9, 3, 'B-2', 'Kestrel', 1, 150, 150, 'Y')"));
    EXPECT_EQ(changes(at(3)), texts({
                                  "Changed hands|A-1|Kestrel|Heron|$121|+10.0%",
                                  "Withdrawn|B-2|Kestrel||$200|",
                              }));
}

TEST_F(FiveRounds, OneLinePerRound)
{
    // A licence's first holder is new, not a change of hands.
    EXPECT_EQ(roundLine(at(1)), QStringLiteral("Round 1: 3 new high bids, 0 licences changed hands, 3 new "
                                               "holders, 0 withdrawals, net bids $350"));
    EXPECT_EQ(roundLine(at(3)), QStringLiteral("Round 3: 2 new high bids, 1 licence changed hands, 1 "
                                               "withdrawal, net bids $176 (-51.1%)"));
    EXPECT_EQ(roundLine(at(5)), QStringLiteral("Round 5: 1 new high bid, 1 licence changed hands, 0 "
                                               "withdrawals, net bids $611 (+28.4%)"));
    // No change is +0.0%; without net bids before, no percent.
    RoundStandings same = at(5);
    same.netBidsBefore = same.netBids;
    EXPECT_TRUE(roundLine(same).endsWith(QStringLiteral("net bids $611 (+0.0%)")))
        << roundLine(same).toStdString();
    same.netBidsBefore = 0;
    EXPECT_TRUE(roundLine(same).endsWith(QStringLiteral("net bids $611"))) << roundLine(same).toStdString();
}

TEST_F(FiveRounds, ChartsOverTheRounds)
{
    auto db = open();
    const StandingsChart prices = pricePathChart(*db, {QStringLiteral("B-2"), QStringLiteral("D[4]")});
    ASSERT_EQ(prices.rounds, std::vector<int>({1, 2, 3, 4, 5}));
    using V = std::vector<std::optional<double>>;
    EXPECT_EQ(prices.lines[0].values, V({200, 200, std::nullopt, std::nullopt, 180}));
    EXPECT_EQ(prices.lines[1].values, V({50, 50, 55, 55, 60}));
    const BidderCharts kestrel = bidderCharts(
        *db, {QStringLiteral("Kestrel"), QStringLiteral("Wren [West]"), QStringLiteral("O'Brien Mobile")}, 4);
    EXPECT_EQ(kestrel.held.lines[0].values, V({1, 2, 0, 1}));
    EXPECT_EQ(kestrel.held.lines[1].values, V({1, 1, 1, 1}));
    EXPECT_EQ(kestrel.eligibility.lines[1].values, V({40, 40, 40, 0}));
    // A name with an apostrophe is looked up as it is.
    EXPECT_EQ(kestrel.eligibility.lines[2].values, V({60, 60, 60, 60}));
    EXPECT_EQ(netBidsChart(*db).lines[0].values, V({350, 360, 176, 476, 611}));
}

TEST_F(FiveRounds, BadInputIsRefusedByName)
{
    auto db = open();
    const auto refusal = [](const std::function<void()>& run) -> QString {
        try {
            run();
        } catch (const Error& error) {
            return QString::number(error.number()) + QLatin1Char(' ') + error.description();
        }
        return QStringLiteral("accepted");
    };
    EXPECT_EQ(refusal([&] { chooseRound(*db, QStringLiteral("6")); }),
              QStringLiteral("3265 Round 6 has not been imported."));
    EXPECT_EQ(refusal([&] { chooseRound(*db, QStringLiteral("2x")); }),
              QStringLiteral("3265 Round 2x has not been imported."));
    EXPECT_EQ(chooseRound(*db, QString()), 5);
    EXPECT_EQ(refusal([&] {
                  pricePathChart(*db, {QStringLiteral("A-1"), QStringLiteral("A-2")});
              }),
              QStringLiteral("3265 This auction has no licence named A-2."));
    EXPECT_EQ(refusal([&] { bidderCharts(*db, {QStringLiteral("Wren")}); }),
              QStringLiteral("3265 This auction has no bidder named Wren."));
    // A withdrawal counted but listed nowhere: no holder can be trusted after it.
    db->execute(QStringLiteral("DELETE FROM [Withdrawal Statistics]"));
    EXPECT_EQ(refusal([&] { computeRoundStandings(*db, 2); }), QStringLiteral("accepted"));
    EXPECT_TRUE(
        refusal([&] { computeRoundStandings(*db, 3); })
            .startsWith(QStringLiteral("3265 [Withdrawal Statistics] has no rows, but [Round Statistics] "
                                       "counts 1 withdrawals up to round 3")));
}

TEST_F(FiveRounds, FilesWithoutTheOptionalColumns)
{
    test::dropStandingsColumns(path);
    const char* const expected[5][5] = {
        {"Heron", "Kestrel", "", "Wren [West]", ""},
        {"Kestrel", "Kestrel", "", "Wren [West]", ""},
        // The withdrawal is not applied; Kestrel's equal bid in round 5 comes later.
        {"Heron", "Kestrel", "", "Wren [West]", ""},
        {"Heron", "Kestrel", "", "Wren [West]", "Heron / Kestrel (tied)"},
        {"Heron", "Kestrel", "", "Wren [West]", "Heron / Kestrel (tied)"},
    };
    for (int round = 1; round <= 5; ++round) {
        QStringList wanted;
        for (const char* name : expected[round - 1])
            wanted << QString::fromUtf8(name);
        EXPECT_EQ(holders(at(round)), wanted) << "round " << round;
    }
    const RoundStandings r5 = at(5);
    EXPECT_EQ(r5.basis.missing, texts({"[New High Bid] (All Bids)", "[High Bid] (Markets)",
                                       "[Withdrawal Round] (Withdrawal Statistics)"}));
    ASSERT_EQ(r5.notes.size(), 3);
    EXPECT_TRUE(r5.notes[0].contains(QStringLiteral("highest gross bid")));
    EXPECT_TRUE(r5.notes[2].contains(QStringLiteral("withdrawals are not applied")));
    // The standing amount is the holder's own bid; no check without the agency's.
    EXPECT_EQ(licence(r5, QStringLiteral("D[4]")).gross, 55);
    EXPECT_EQ(r5.checks, 0);
    EXPECT_EQ(licence(r5, QStringLiteral("E-5")).gross, 300);
    // A tie is nobody's holding.
    EXPECT_EQ(bidder(r5, QStringLiteral("Kestrel")).held, 1);
    EXPECT_EQ(bidder(r5, QStringLiteral("Heron")).held, 1);
    // Round 5: no bid became the highest; round 4: E-5's tie did.
    EXPECT_EQ(r5.newHighBids, 0);
    EXPECT_EQ(at(4).newHighBids, 1);
    EXPECT_EQ(changes(at(4)).first(), QStringLiteral("New holder|E-5||Heron / Kestrel (tied)|$300|"));
    // Withdrawals counted by the round statistics when they cannot be listed.
    EXPECT_EQ(at(3).withdrawals, 1);
    using V = std::vector<std::optional<double>>;
    EXPECT_EQ(pricePathChart(*open(), {QStringLiteral("B-2")}).lines[0].values, V({200, 200, 200, 200, 200}));
}

// The agency's layout: the withdrawal round in [Round] (or spelt out another
// way) and no [New High Bid]. B-2 is withdrawn by its holder in round 3 and
// re-won lower by another bidder in round 5: the lower bid stands.
TEST_F(FiveRounds, WithdrawalsApplyWithoutNewHighBid)
{
    for (const char* spelling : {"Round", "Round Withdrawn"}) {
        SCOPED_TRACE(spelling);
        test::TempDir other;
        path = test::makeFiveRoundAuction(other.path());
        {
            auto db = open();
            store::exec(db->handle(),
                        QStringLiteral("ALTER TABLE \"All Bids\" DROP COLUMN \"New High Bid\""));
            store::exec(db->handle(), QStringLiteral("ALTER TABLE \"Withdrawal Statistics\" RENAME COLUMN "
                                                     "\"Withdrawal Round\" TO \"%1\"")
                                          .arg(QLatin1String(spelling)));
        }
        const char* const expected[5][5] = {
            {"Heron", "Kestrel", "", "Wren [West]", ""},
            {"Kestrel", "Kestrel", "", "Wren [West]", ""},
            {"Heron", "(agency)", "", "Wren [West]", ""},
            {"Heron", "(agency)", "", "Wren [West]", "Heron / Kestrel (tied)"},
            {"Heron", "O'Brien Mobile", "", "Wren [West]", "Heron / Kestrel (tied)"},
        };
        for (int round = 1; round <= 5; ++round) {
            QStringList wanted;
            for (const char* name : expected[round - 1])
                wanted << QString::fromUtf8(name);
            EXPECT_EQ(holders(at(round)), wanted) << "round " << round;
        }
        const RoundStandings r5 = at(5);
        EXPECT_EQ(r5.basis.missing, texts({"[New High Bid] (All Bids)"}));
        EXPECT_EQ(licence(r5, QStringLiteral("B-2")).check, QString());
        EXPECT_TRUE(changes(at(3)).contains(QStringLiteral("Withdrawn|B-2|Kestrel||$200|")));
        EXPECT_EQ(bidder(r5, QStringLiteral("O'Brien Mobile")).held, 1);
    }
}

// Changing hands is one bidder replacing another: a first holder is new, the
// agency is nobody's replacement, and a withdrawal re-won by the same bidder
// changes nothing; the rounds since changing hands follow the same rule.
TEST(HoldingsReplay, OnlyABidderReplacingAnotherChangesHands)
{
    AuctionHistory history;
    const int licence = history.licenses.id(QStringLiteral("A-1"));
    const int heron = history.bidders.id(QStringLiteral("Heron"));
    const int kestrel = history.bidders.id(QStringLiteral("Kestrel"));
    history.rounds = {1, 2, 3, 4, 5, 6};
    // Heron wins in 1, withdraws in 3 and wins again lower in 4; Kestrel takes it in 5, withdraws in 6.
    history.bids = {{1, licence, heron, 100, 100, true},
                    {4, licence, heron, 90, 90, true},
                    {5, licence, kestrel, 95, 95, true}};
    history.withdrawals = {{3, licence, heron}, {6, licence, kestrel}};
    HoldingsReplay replay(history);
    Holding before;
    const struct {
        HolderKind kind;
        bool changed;
        int since;
    } rounds[] = {{HolderKind::Bidder, false, 1}, {HolderKind::Bidder, false, 1},
                  {HolderKind::Agency, false, 1}, {HolderKind::Bidder, false, 1},
                  {HolderKind::Bidder, true, 5},  {HolderKind::Agency, false, 5}};
    for (int round = 1; round <= 6; ++round) {
        replay.playTo(round);
        const Holding& now = replay.holding(licence);
        const auto& want = rounds[round - 1];
        EXPECT_EQ(now.kind, want.kind) << "round " << round;
        EXPECT_EQ(now.changesHandsFrom(before), want.changed) << "round " << round;
        EXPECT_EQ(now.since, want.since) << "round " << round;
        before = now;
    }
}

// The increase in percent of the high bid before; none where there was none
// to grow from (nothing, or nothing yet bid on a licence listed at zero).
TEST(LicenceIncrease, PercentOnlyOverAHighBidBefore)
{
    const struct {
        std::optional<double> before, now, percent;
    } cases[] = {
        {400, 500, 25},
        {400, 300, -25},
        {0, 500, std::nullopt},
        {std::nullopt, 500, std::nullopt},
    };
    for (const auto& c : cases) {
        LicenseStanding l;
        l.grossBefore = c.before;
        l.gross = c.now;
        EXPECT_EQ(l.increasePercent(), c.percent) << c.before.value_or(-1);
    }
}
