// The holders across the large generated auction (1,500 licences, 150
// bidders, 250 rounds, with withdrawals) against the same rules written as
// SQL, round by round; and the standing amounts against [Markets]' [High Bid].
// Then the same auction in the agency's layout (no [New High Bid], the
// withdrawal round in [Round]) against the fallback's rule written as SQL.
#include "standings/core/auction_history.h"
#include "standings/core/holdings_replay.h"
#include "standings/core/round_standings.h"
#include "store/database.h"
#include "store/sqlite_statement.h"
#include "support/cli_run.h"
#include "support/five_round_auction.h"
#include "support/qt_printers.h"
#include "support/temp_dir.h"

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace qv;
using namespace qv::standings;

namespace {

class LargeAuction : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new test::TempDir;
        const QString rounds = dir->file(QStringLiteral("rounds"));
        const test::CliRun sample =
            test::runCli({QStringLiteral("sample"), rounds, QStringLiteral("--auction"), QStringLiteral("7"),
                          QStringLiteral("--rounds"), QStringLiteral("250"), QStringLiteral("--licenses"),
                          QStringLiteral("1500"), QStringLiteral("--bidders"), QStringLiteral("150")});
        ASSERT_EQ(sample.code, 0) << sample.err.toStdString();
        const test::CliRun batch = test::runCli(
            {QStringLiteral("--app-dir"), dir->file(QStringLiteral("app")), QStringLiteral("--yes"),
             QStringLiteral("batch"), rounds + QStringLiteral("/07_001.zip")});
        ASSERT_EQ(batch.code, 0) << batch.out.toStdString();
        auction = dir->file(QStringLiteral("app/Auction7.mdb"));
    }
    static void TearDownTestSuite() { delete dir; }

    // A copy to add the SQL's indexes to (and drop columns from).
    static QString copy(const QString& name)
    {
        const QString path = dir->file(name);
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(auction, path));
        return path;
    }

    // Per round, each licence's holder as the SQL gives it.
    static std::vector<QHash<QString, QString>> holdersBySql(store::Database& db, const char* sql)
    {
        std::vector<QHash<QString, QString>> byRound(251);
        store::Statement rows(db.handle(), QString::fromUtf8(sql));
        while (rows.step()) {
            const int round = sqlite3_column_int(rows.get(), 0);
            const QString licence =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(rows.get(), 1)));
            const QString holder =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(rows.get(), 2)));
            byRound.at(static_cast<size_t>(round)).insert(licence, holder);
        }
        return byRound;
    }

    void checkNewHighBidRules();
    void checkHighestBidRules();

    static test::TempDir* dir;
    static QString auction;
};

test::TempDir* LargeAuction::dir = nullptr;
QString LargeAuction::auction;

// The last new high bid up to each round (of two in one round, the higher),
// unless its bidder withdrew it in a later round up to that one.
const char* const holdersSql = R"(
WITH y AS (SELECT "License Name" AS L, Bidder AS B, Round AS BR,
                  ROW_NUMBER() OVER (PARTITION BY "License Name", Round ORDER BY "Gross Bid Amount" DESC) AS K
           FROM "All Bids" WHERE "New High Bid" = 'Y'),
yb AS (SELECT L, B, BR, LEAD(BR) OVER (PARTITION BY L ORDER BY BR) AS NR FROM y WHERE K = 1)
SELECT r.Round, yb.L,
       CASE WHEN EXISTS (SELECT 1 FROM "Withdrawal Statistics" w
                         WHERE w."License Name" = yb.L AND w.Bidder = yb.B
                           AND w."Withdrawal Round" > yb.BR AND w."Withdrawal Round" <= r.Round)
            THEN '(agency)' ELSE yb.B END
FROM yb JOIN sysRounds r ON r.Round >= yb.BR AND (yb.NR IS NULL OR r.Round < yb.NR))";

// The highest gross bid up to each round, first reached in the earliest
// round; every bidder who bid it in that round. A withdrawal by the sole
// holder (of a bid before its round) starts the licence afresh: the agency
// holds it from that round until the highest bid made since, at any amount.
// Withdrawals are walked licence by licence, each one's holder known only
// after the ones before it.
const char* const highestBidSql = R"(
WITH RECURSIVE
b AS (SELECT "License Name" AS L, Bidder AS B, Round AS BR, "Gross Bid Amount" AS G FROM "All Bids"),
w AS (SELECT "License Name" AS L, Bidder AS B, Round AS WR,
             ROW_NUMBER() OVER (PARTITION BY "License Name" ORDER BY Round) AS N FROM "Withdrawal Statistics"),
ep(L, E, N) AS (
  SELECT DISTINCT L, 0, 0 FROM b
  UNION ALL
  SELECT ep.L,
         CASE WHEN (SELECT group_concat(DISTINCT x.B) FROM b x, (SELECT MAX(y.G) AS M FROM b y WHERE y.L = ep.L
                      AND y.BR >= ep.E AND y.BR < w.WR) m
                    WHERE x.L = ep.L AND x.G = m.M AND x.BR = (SELECT MIN(z.BR) FROM b z WHERE z.L = ep.L
                      AND z.BR >= ep.E AND z.BR < w.WR AND z.G = m.M)) = w.B THEN w.WR ELSE ep.E END,
         w.N
  FROM ep JOIN w ON w.L = ep.L AND w.N = ep.N + 1),
epr AS (SELECT L, E, LEAD(E) OVER (PARTITION BY L ORDER BY E) AS NE FROM (SELECT DISTINCT L, E FROM ep)),
be AS (SELECT b.*, epr.E, epr.NE FROM b JOIN epr ON epr.L = b.L AND b.BR >= epr.E
                                                  AND (epr.NE IS NULL OR b.BR < epr.NE)),
rmax AS (SELECT L, E, NE, BR, MAX(G) AS M FROM be GROUP BY L, E, BR),
firsts AS (SELECT * FROM (SELECT L, E, NE, BR, M, MAX(M) OVER (PARTITION BY L, E ORDER BY BR
                          ROWS BETWEEN UNBOUNDED PRECEDING AND 1 PRECEDING) AS PM FROM rmax)
           WHERE PM IS NULL OR M > PM),
seg AS (SELECT L, E, NE, BR, M, LEAD(BR) OVER (PARTITION BY L, E ORDER BY BR) AS NR FROM firsts),
who AS (SELECT seg.*, (SELECT group_concat(B, '|') FROM (SELECT DISTINCT be.B FROM be
                        WHERE be.L = seg.L AND be.BR = seg.BR AND be.G = seg.M)) AS Bs FROM seg)
SELECT r.Round, who.L, who.Bs FROM who JOIN sysRounds r ON r.Round >= who.BR
  AND (who.NR IS NULL OR r.Round < who.NR) AND (who.NE IS NULL OR r.Round < who.NE)
UNION ALL
SELECT r.Round, epr.L, '(agency)' FROM epr JOIN sysRounds r ON epr.E > 0 AND r.Round >= epr.E
  AND (epr.NE IS NULL OR r.Round < epr.NE)
  AND r.Round < COALESCE((SELECT MIN(be.BR) FROM be WHERE be.L = epr.L AND be.E = epr.E), 1000000000))";

// Each licence's holding after each round, as the replay gives it.
void eachHolding(const AuctionHistory& history,
                 const std::function<void(int round, const QString& licence, const Holding& held)>& look)
{
    HoldingsReplay replay(history);
    for (const int round : history.rounds) {
        replay.playTo(round);
        for (int l = 0; l < history.licenses.size(); ++l)
            look(round, history.licenses.name(l), replay.holding(l));
    }
}

// A holder as a set of names, for ties whose order the SQL does not keep.
QString asSet(QString holder)
{
    holder.remove(QStringLiteral(" (tied)"));
    QStringList names = holder.split(
        holder.contains(QLatin1Char('|')) ? QStringLiteral("|") : QStringLiteral(" / "), Qt::SkipEmptyParts);
    names.sort();
    return names.join(QLatin1Char('|'));
}

} // namespace

void LargeAuction::checkNewHighBidRules()
{
    auto db = store::Database::open(copy(QStringLiteral("Holders.mdb")));
    store::exec(db->handle(),
                QStringLiteral("CREATE INDEX w_lb ON \"Withdrawal Statistics\" (\"License Name\", Bidder)"));
    // Look-alikes: each withdrawal a round earlier in the name of a bidder who
    // never bid on the licence takes it from nobody.
    store::exec(db->handle(), QStringLiteral("CREATE INDEX a_lb ON \"All Bids\" (\"License Name\", Bidder)"));
    store::exec(db->handle(),
                QStringLiteral(
                    "INSERT INTO \"Withdrawal Statistics\" (\"Withdrawal Round\", \"License Name\", Bidder) "
                    "SELECT w.\"Withdrawal Round\" - 1, w.\"License Name\", (SELECT MIN(b.Bidder) FROM "
                    "Bidders b WHERE NOT EXISTS (SELECT 1 FROM \"All Bids\" a WHERE a.\"License Name\" "
                    "= w.\"License Name\" AND a.Bidder = b.Bidder)) FROM \"Withdrawal Statistics\" w"));
    // A second, lower new high bid by another bidder in the round of some
    // standing bids: the higher stands, and the check says there were two.
    const char* const doubled = "FROM Markets m WHERE m.Round = 250 AND m.\"High Bidder\" IS NOT NULL AND "
                                "m.rowid % 50 = 0";
    store::Statement count(db->handle(), QStringLiteral("SELECT COUNT(*) ") + QLatin1String(doubled));
    ASSERT_TRUE(count.step());
    const int doubledCount = sqlite3_column_int(count.get(), 0);
    ASSERT_GT(doubledCount, 5);
    store::exec(
        db->handle(),
        QStringLiteral("INSERT INTO \"All Bids\" (Round, \"License Name\", Bidder, \"Gross Bid Amount\", "
                       "\"Net Bid Amount\", \"New High Bid\") SELECT m.\"Round of High Bid\", m.\"License "
                       "Name\", (SELECT MIN(b.Bidder) FROM Bidders b WHERE b.Bidder <> m.\"High Bidder\"), "
                       "m.\"High Bid\" - 1000, m.\"High Bid\" - 1000, 'Y' ") +
            QLatin1String(doubled));
    const auto expected = holdersBySql(*db, holdersSql);

    QHash<QPair<int, QString>, std::optional<double>> highBids;
    store::Statement markets(db->handle(),
                             QStringLiteral("SELECT Round, \"License Name\", \"High Bid\" FROM Markets"));
    while (markets.step()) {
        const QString licence =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(markets.get(), 1)));
        highBids.insert({sqlite3_column_int(markets.get(), 0), licence},
                        sqlite3_column_type(markets.get(), 2) == SQLITE_NULL
                            ? std::nullopt
                            : std::optional<double>(sqlite3_column_double(markets.get(), 2)));
    }

    const AuctionHistory history = readHistory(*db, readStandingsBasis(*db));
    ASSERT_TRUE(history.basis.complete());
    ASSERT_EQ(history.rounds.size(), 250u);
    ASSERT_GT(history.withdrawals.size(), 20u) << "the generator withdraws high bids";
    int compared = 0, agency = 0, wrongHolders = 0, wrongAmounts = 0;
    QStringList firstWrong;
    eachHolding(history, [&](int round, const QString& name, const Holding& held) {
        const QString ours = holderText(history, held);
        const QString sql = expected[static_cast<size_t>(round)].value(name);
        ++compared;
        agency += held.kind == HolderKind::Agency ? 1 : 0;
        if (ours != sql && ++wrongHolders <= 5)
            firstWrong << QStringLiteral("round %1 %2: %3 / %4").arg(round).arg(name, ours, sql);
        // The holder's bid against [High Bid]; nothing against an empty one.
        const Bid* bid =
            held.kind == HolderKind::Bidder ? &history.bids[static_cast<size_t>(held.bid)] : nullptr;
        const double ourAmount = bid != nullptr ? bid->gross.value_or(-1) : -1;
        if (ourAmount != highBids.value({round, name}).value_or(-1))
            ++wrongAmounts;
    });
    EXPECT_EQ(compared, 250 * 1500);
    EXPECT_GT(agency, 0) << "some withdrawn licences were held by the agency";
    EXPECT_EQ(wrongHolders, 0) << firstWrong.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(wrongAmounts, 0);
    // And through the round's views (the agency's [High Bidder] first), the
    // doubled new high bids the only disagreements reported.
    const RoundStandings last = computeRoundStandings(*db, 250);
    EXPECT_EQ(last.checks, doubledCount);
    int wrongInView = 0;
    for (const LicenseStanding& l : last.licenses) {
        wrongInView += l.holder != expected[250].value(l.name) ? 1 : 0;
        if (!l.check.isEmpty()) {
            EXPECT_TRUE(l.check.startsWith(QStringLiteral("2 new high bids in round ")))
                << l.check.toStdString();
        }
    }
    EXPECT_EQ(wrongInView, 0);
    EXPECT_EQ(last.licenses.size(), 1500u);
    EXPECT_EQ(last.bidders.size(), 150u);
}

void LargeAuction::checkHighestBidRules()
{
    // The agency's layout: no [New High Bid], the withdrawal round in [Round].
    auto db = store::Database::open(copy(QStringLiteral("Fallback.mdb")));
    store::exec(db->handle(), QStringLiteral("ALTER TABLE \"All Bids\" DROP COLUMN \"New High Bid\""));
    store::exec(db->handle(), QStringLiteral("ALTER TABLE \"Withdrawal Statistics\" RENAME COLUMN "
                                             "\"Withdrawal Round\" TO Round"));
    store::exec(db->handle(), QStringLiteral("CREATE INDEX b_lr ON \"All Bids\" (\"License Name\", Round)"));
    const auto expected = holdersBySql(*db, highestBidSql);

    const AuctionHistory history = readHistory(*db, readStandingsBasis(*db));
    ASSERT_EQ(history.basis.missing, QStringList{QStringLiteral("[New High Bid] (All Bids)")});
    ASSERT_GT(history.withdrawals.size(), 20u);
    // Per licence, the highest bid so far: a holder below it re-won the licence lower.
    std::vector<double> highestSoFar(static_cast<size_t>(history.licenses.size()), 0);
    size_t nextBid = 0;
    int wrong = 0, ties = 0, agency = 0, wonLower = 0;
    QStringList firstWrong;
    eachHolding(history, [&](int round, const QString& name, const Holding& held) {
        for (; nextBid < history.bids.size() && history.bids[nextBid].round <= round; ++nextBid) {
            double& highest = highestSoFar[static_cast<size_t>(history.bids[nextBid].license)];
            highest = std::max(highest, history.bids[nextBid].gross.value_or(0));
        }
        ties += held.kind == HolderKind::Tied ? 1 : 0;
        agency += held.kind == HolderKind::Agency ? 1 : 0;
        if (held.kind == HolderKind::Bidder &&
            history.bids[static_cast<size_t>(held.bid)].gross.value_or(0) <
                highestSoFar[static_cast<size_t>(history.licenses.find(name))])
            ++wonLower;
        const QString ours = asSet(holderText(history, held));
        const QString sql = asSet(expected[static_cast<size_t>(round)].value(name));
        if (ours != sql && ++wrong <= 5)
            firstWrong << QStringLiteral("round %1 %2: %3 / %4").arg(round).arg(name, ours, sql);
    });
    EXPECT_GT(ties, 0) << "bidders who bid the same amount in one round hold it tied";
    EXPECT_GT(agency, 0) << "withdrawn licences are held by the agency until the next bid";
    EXPECT_GT(wonLower, 0) << "withdrawn licences are re-won at a lower amount";
    EXPECT_EQ(wrong, 0) << firstWrong.join(QLatin1Char('\n')).toStdString();
}

// One test: generating and importing the auction takes most of its time.
TEST_F(LargeAuction, HoldersAgreeWithTheRulesWrittenInSql)
{
    {
        SCOPED_TRACE("with [New High Bid], [High Bid] and the withdrawals");
        checkNewHighBidRules();
    }
    {
        SCOPED_TRACE("without them");
        checkHighestBidRules();
    }
}

// Printed, the report of 1,500 licences names every one of them: the rows
// folded away on screen print too, under a header on every page.
TEST_F(LargeAuction, ReportPrintsEveryLicence)
{
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (chromium.isEmpty() || pdftotext.isEmpty())
        GTEST_SKIP() << "chromium or pdftotext is not installed: the report was not printed";
    const QString html = dir->file(QStringLiteral("report.html")),
                  pdf = dir->file(QStringLiteral("report.pdf"));
    const test::CliRun report =
        test::runCli({QStringLiteral("report"), auction, QStringLiteral("250"), QStringLiteral("-o"), html});
    ASSERT_EQ(report.code, 0) << report.err.toStdString();
    QProcess browser;
    browser.start(chromium, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                             QStringLiteral("--disable-gpu"), QStringLiteral("--no-pdf-header-footer"),
                             QStringLiteral("--print-to-pdf=") + pdf, QStringLiteral("file://") + html});
    ASSERT_TRUE(browser.waitForFinished(300000));
    QProcess text;
    text.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(120000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    ASSERT_FALSE(printed.isEmpty()) << browser.readAllStandardError().toStdString();

    // Each cell prints on a line of its own.
    QSet<QString> lines;
    for (const QString& line : printed.split(QLatin1Char('\n')))
        lines.insert(line.trimmed());
    auto db = store::Database::open(auction);
    const RoundStandings standings = computeRoundStandings(*db, 250);
    ASSERT_EQ(standings.licenses.size(), 1500u);
    QStringList missing;
    for (const LicenseStanding& licence : standings.licenses) {
        if (!lines.contains(licence.name))
            missing << licence.name;
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.size() << " missing, first " << missing.value(0).toStdString();
    EXPECT_FALSE(printed.contains(QStringLiteral("more rows")));
    // The running header: the auction and the round on every page.
    const int pages = static_cast<int>(printed.count(QLatin1Char('\f')));
    EXPECT_GT(pages, 20);
    EXPECT_GE(static_cast<int>(printed.count(QStringLiteral("Auction 7, round 250 \u2014 "))), pages);
}
