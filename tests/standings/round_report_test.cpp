// The round report: what it holds, that it needs nothing beyond itself, that
// it is valid HTML, and that a real browser shows it.
#include "standings/core/report_html.h"
#include "standings/core/report_movers.h"
#include "standings/core/round_standings.h"
#include "store/database.h"
#include "summary/core/summary_sheet.h"
#include "support/cli_run.h"
#include "support/five_round_auction.h"
#include "support/qt_printers.h"
#include "support/temp_dir.h"

#include <QFile>
#ifdef QV_HAVE_CHARTS
#include <QImage>
#endif
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace qv;

namespace {

class RoundReport : public ::testing::Test {
protected:
    void SetUp() override { auction = test::makeFiveRoundAuction(dir.path()); }
    // The report of a round written by quorvane-cli.
    QByteArray written(const QString& round, const QString& name)
    {
        report = dir.file(name);
        const test::CliRun run =
            test::runCli({QStringLiteral("report"), auction, round, QStringLiteral("-o"), report});
        EXPECT_EQ(run.code, 0) << run.err.toStdString();
        QFile file(report);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    test::TempDir dir;
    QString auction;
    QString report;
};

int count(const QByteArray& text, const char* what)
{
    return static_cast<int>(text.count(what));
}

} // namespace

TEST_F(RoundReport, HoldsTheFiguresTheViewsAndTheChartsAndNothingFromOutside)
{
    const QByteArray html = written(QStringLiteral("3"), QStringLiteral("report.html"));
    EXPECT_TRUE(html.startsWith("<!DOCTYPE html>"));
    EXPECT_TRUE(html.contains("<h1>Auction 9, round 3</h1>"));
    // The summary's figures beside their labels (this auction's round statistics
    // hold few of them: the others stay empty, as in the window).
    EXPECT_TRUE(html.contains("<td class=\"l\">Change in Net Prev Day</td><td class=\"n\">-$184</td>"));
    EXPECT_TRUE(html.contains("<td class=\"l\">Multi-Increment Bids</td><td class=\"n\">1</td>"));
    EXPECT_TRUE(html.contains("<td class=\"l\">Additional Activity Required</td><td class=\"n\">175</td>"));
    EXPECT_EQ(count(html, "<h2>"), 6); // the summary, top movers, the three views, the charts
    EXPECT_TRUE(html.contains("<h2>Changes since round 2</h2>"));
    EXPECT_TRUE(html.contains("<td>Held by the agency</td><td>B-2</td><td>Kestrel</td><td>(agency)</td>"));
    // Names are text, not markup.
    EXPECT_TRUE(html.contains("<td>D[4]</td><td>Denver</td><td>Wren [West]</td>"));
    EXPECT_TRUE(html.contains("<td>C-3</td><td>Chicago &amp; &lt;Gary&gt;</td>"));
#ifdef QV_HAVE_CHARTS
    // Net bids, price paths, licences held and eligibility, each inline.
    EXPECT_EQ(count(html, "<svg"), 4);
#else
    // A build without charts says so where they would be.
    EXPECT_EQ(count(html, "<svg"), 0);
    EXPECT_TRUE(html.contains("The charts could not be drawn where this report was written."));
#endif
    EXPECT_EQ(count(html, "<?xml"), 0);
    for (const char* outside : {"<script", "<link", "<img", " src=", "url(http", "@import"})
        EXPECT_EQ(count(html, outside), 0) << outside;
    // Every id once, though every drawing numbers its own from 1.
    QStringList ids;
    static const QRegularExpression id(QStringLiteral("\\bid=\"([^\"]+)\""));
    for (auto match = id.globalMatch(QString::fromUtf8(html)); match.hasNext();)
        ids << match.next().captured(1);
#ifdef QV_HAVE_CHARTS
    EXPECT_GT(ids.size(), 0);
#endif
    EXPECT_EQ(ids.size(), QSet<QString>(ids.begin(), ids.end()).size())
        << ids.join(QLatin1Char(' ')).toStdString();
}

TEST_F(RoundReport, FoldsAwayTheRowsAfterTheFirst)
{
    auto db = store::Database::open(auction);
    const standings::RoundStandings r5 = standings::computeRoundStandings(*db, 5);
    standings::ReportContents contents;
    contents.auction = 9;
    contents.rowsShown = 2;
    contents.chartsMissing = QStringLiteral("No charts <here>.");
    const QString html = QString::fromUtf8(standings::reportHtml(r5, contents));
    // Licences: two on show, three folded; bidders: two and two; changes: two, none folded.
    EXPECT_EQ(html.count(QStringLiteral("<details><summary>3 more rows</summary>")), 1);
    EXPECT_EQ(html.count(QStringLiteral("<details><summary>2 more rows</summary>")), 1);
    EXPECT_EQ(html.count(QStringLiteral("<details>")), 2);
    const qsizetype licences = html.indexOf(QStringLiteral("<h2>Licences</h2>"));
    const qsizetype folded = html.indexOf(QStringLiteral("<details>"), licences);
    EXPECT_LT(html.indexOf(QStringLiteral("<td>B-2</td>"), licences), folded);
    EXPECT_GT(html.indexOf(QStringLiteral("<td>C-3</td>"), licences), folded);
    EXPECT_TRUE(html.contains(QStringLiteral("<p>No charts &lt;here&gt;.</p>")));
    // The disagreement found is said above the views.
    EXPECT_LT(html.indexOf(QStringLiteral("disagrees with the holder")), licences);

    // Four on show: one licence folded away, the four bidders all shown.
    contents.rowsShown = 4;
    const QString four = QString::fromUtf8(standings::reportHtml(r5, contents));
    EXPECT_EQ(four.count(QStringLiteral("<details>")), 1);
    EXPECT_EQ(four.count(QStringLiteral("<details><summary>1 more row</summary>")), 1);
}

// Licences whose price rose come first, the largest rise first, then those
// that changed hands, then those the agency holds, then the rest as listed.
TEST(ReportOrder, PutsTheMostTellingLicencesFirstAndTheRisesInTopMovers)
{
    standings::RoundStandings round;
    round.round = 4;
    const auto bidder = [](int who) {
        standings::Holding holding;
        holding.kind = standings::HolderKind::Bidder;
        holding.bidder = who;
        return holding;
    };
    standings::Holding agency;
    agency.kind = standings::HolderKind::Agency;
    agency.bidder = 0;
    const auto add = [&](const char* name, standings::Holding before, standings::Holding now,
                         std::optional<double> grossBefore, std::optional<double> gross) {
        standings::LicenseStanding licence;
        licence.name = QString::fromUtf8(name);
        licence.marketName = QStringLiteral("M <") + licence.name + QStringLiteral(">");
        licence.holder = QStringLiteral("H") + QString::number(now.bidder);
        licence.before = before;
        licence.now = now;
        licence.grossBefore = grossBefore;
        licence.gross = gross;
        round.licenses.push_back(licence);
    };
    add("Flat", bidder(0), bidder(0), 100, 100);
    add("Small", bidder(0), bidder(0), 100, 110);
    add("Agency", bidder(0), agency, 300, 300);    // withdrawn: its bid stands as before
    add("Swapped", bidder(0), bidder(1), 90, 90);  // another bidder at the same amount
    add("Big", bidder(1), bidder(2), 100, 600);    // the largest rise, and changed hands
    add("Fresh", {}, bidder(2), std::nullopt, 50); // a first holder: no rise to measure
    add("Fell", agency, bidder(3), 300, 200);      // back from the agency, lower
    std::vector<QString> order;
    for (size_t i : standings::licencesMostTellingFirst(round))
        order.push_back(round.licenses[i].name);
    EXPECT_EQ(order,
              (std::vector<QString>{QStringLiteral("Big"), QStringLiteral("Small"), QStringLiteral("Swapped"),
                                    QStringLiteral("Fell"), QStringLiteral("Agency"), QStringLiteral("Flat"),
                                    QStringLiteral("Fresh")}));
    EXPECT_EQ(standings::topMovers(round, 1), std::vector<size_t>{4});
    EXPECT_EQ(standings::topMovers(round, 10), (std::vector<size_t>{4, 1}));

    standings::ReportContents contents;
    contents.auction = 9;
    contents.rowsShown = 2;
    const QString html = QString::fromUtf8(standings::reportHtml(round, contents));
    const qsizetype movers = html.indexOf(QStringLiteral("<h2>Top movers</h2>"));
    const qsizetype licences = html.indexOf(QStringLiteral("<h2>Licences</h2>"));
    ASSERT_GE(movers, 0);
    ASSERT_GT(licences, movers);
    const QString top = html.mid(movers, licences - movers);
    EXPECT_TRUE(
        top.contains(QStringLiteral("<td>Big</td><td>M &lt;Big&gt;</td><td>H2</td><td class=\"n\">$600</td>"
                                    "<td class=\"n\">$500</td><td class=\"n\">+500.0%</td>"
                                    "<td>Changed hands</td>")))
        << top.toStdString();
    EXPECT_TRUE(top.contains(QStringLiteral("<td>Small</td>")));
    EXPECT_EQ(top.count(QStringLiteral("<tr>")), 3); // the header and the two that rose
    EXPECT_FALSE(top.contains(QStringLiteral("<details>")));
    // The licences' view: the two most telling on show, the others folded in the same order.
    const qsizetype big = html.indexOf(QStringLiteral("<td>Big</td>"), licences);
    const qsizetype small = html.indexOf(QStringLiteral("<td>Small</td>"), licences);
    const qsizetype folded = html.indexOf(QStringLiteral("<details>"), licences);
    EXPECT_LT(big, small);
    EXPECT_LT(small, folded);
    EXPECT_LT(html.indexOf(QStringLiteral("<td>Swapped</td>"), folded),
              html.indexOf(QStringLiteral("<td>Agency</td>"), folded));
    // Printed, the folded rows show and each page is headed with the auction and round.
    EXPECT_TRUE(html.contains(QStringLiteral("details::details-content { content-visibility: visible;")));
    EXPECT_TRUE(html.contains(QStringLiteral("@top-left { content: \"Auction 9, round 4\";")));
}

#ifdef QV_HAVE_CHARTS
// With more licences bid on than a chart shows, the price paths are those of
// the highest standing bids.
TEST_F(RoundReport, ChartsThePricePathsOfTheHighestStandingBids)
{
    {
        // Ten more licences bid on in round 5, above the others: of the
        // fourteen with a bid, A-1 ($121) and D[4] ($60) are the two lowest.
        auto db = store::Database::open(auction);
        for (int k = 0; k < 10; ++k) {
            const QString name = QStringLiteral("Z-%1").arg(10 + k), amount = QString::number(400 + k);
            db->execute(QStringLiteral("INSERT INTO [All Bids] VALUES (9, 5, '%1', 'Heron', 1, %2, %2, 'Y')")
                            .arg(name, amount));
            db->execute(QStringLiteral("INSERT INTO [Markets] VALUES (9, 5, '%1', 'Zanesville', %2)")
                            .arg(name, amount));
        }
    }
    const QByteArray html = written(QStringLiteral("5"), QStringLiteral("top.html"));
    const qsizetype from = html.indexOf("Price paths of the 12 highest standing bids");
    ASSERT_GE(from, 0);
    const QByteArray figure = html.mid(from, html.indexOf("</figure>", from) - from);
    for (const char* charted : {"Z-10", "Z-19", "E-5", "B-2"})
        EXPECT_TRUE(figure.contains(charted)) << charted;
    for (const char* left : {"A-1", "D[4]"})
        EXPECT_FALSE(figure.contains(left)) << left;
}
#endif

// Every drawing numbers its ids from 1: on one page, each drawing's ids and
// every reference to them (a clip, a gradient) take the same prefix.
TEST(ReportDrawings, PrefixTheIdsAndWhatPointsAtThem)
{
    const QByteArray svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg width=\"800\" height=\"600\" viewBox=\"0 0 800 600\">"
        "<defs><clipPath id=\"clip1\"><rect/></clipPath><linearGradient id=\"g1\"/></defs>"
        "<g clip-path=\"url(#clip1)\" fill=\"url(#g1)\"><use xlink:href=\"#g1\"/></g></svg>";
    EXPECT_EQ(standings::inlineSvg(svg, QStringLiteral("c2-")),
              QByteArray("<svg viewBox=\"0 0 800 600\"><defs><clipPath id=\"c2-clip1\"><rect/></clipPath>"
                         "<linearGradient id=\"c2-g1\"/></defs><g clip-path=\"url(#c2-clip1)\" "
                         "fill=\"url(#c2-g1)\"><use xlink:href=\"#c2-g1\"/></g></svg>"));
}

TEST_F(RoundReport, IsValidHtml)
{
    written(QString(), QStringLiteral("valid.html"));
    const QString python = QStringLiteral("/usr/bin/python3");
    const QString tidy = QStandardPaths::findExecutable(QStringLiteral("tidy"));
    bool checked = false;
    if (QFile::exists(python) &&
        QProcess::execute(python, {QStringLiteral("-c"), QStringLiteral("import html5lib")}) == 0) {
        // html5lib's parser in strict mode stops at the first parse error of the HTML standard.
        QProcess parse;
        parse.start(python,
                    {QStringLiteral("-c"),
                     QStringLiteral("import sys, html5lib\n"
                                    "html5lib.HTMLParser(strict=True).parse(open(sys.argv[1], 'rb'))"),
                     report});
        ASSERT_TRUE(parse.waitForFinished(60000));
        EXPECT_EQ(parse.exitCode(), 0) << parse.readAllStandardError().toStdString();
        checked = true;
    }
    if (!tidy.isEmpty()) {
        // tidy exits with 2 on errors (1 for warnings only).
        QProcess check;
        check.start(tidy, {QStringLiteral("-q"), QStringLiteral("-e"), QStringLiteral("-utf8"), report});
        ASSERT_TRUE(check.waitForFinished(60000));
        EXPECT_LT(check.exitCode(), 2) << check.readAllStandardError().toStdString();
        checked = true;
    }
    if (!checked)
        GTEST_SKIP() << "neither python3-html5lib nor tidy is installed: the report's HTML was not validated";
}

#ifdef QV_HAVE_CHARTS
TEST_F(RoundReport, ChromiumShowsIt)
{
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty())
        GTEST_SKIP() << "chromium is not installed: the report was not looked at in a browser";
    written(QStringLiteral("5"), QStringLiteral("shown.html"));
    const QString shot = dir.file(QStringLiteral("shown.png"));
    QProcess browser;
    browser.start(chromium, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                             QStringLiteral("--disable-gpu"), QStringLiteral("--hide-scrollbars"),
                             QStringLiteral("--window-size=1200,3000"),
                             QStringLiteral("--screenshot=") + shot, QStringLiteral("file://") + report});
    ASSERT_TRUE(browser.waitForFinished(120000));
    const QImage picture(shot);
    ASSERT_FALSE(picture.isNull()) << browser.readAllStandardError().toStdString();
    // Text, tables and the lines of four charts: a page that failed to render is blank.
    int ink = 0;
    int paletteBlue = 0;
    for (int y = 0; y < picture.height(); y += 2) {
        for (int x = 0; x < picture.width(); x += 2) {
            const QRgb pixel = picture.pixel(x, y);
            ink += qGray(pixel) < 128 ? 1 : 0;
            paletteBlue += qAbs(qRed(pixel) - 0x43) < 24 && qAbs(qGreen(pixel) - 0x63) < 24 &&
                                   qAbs(qBlue(pixel) - 0xd8) < 24
                               ? 1
                               : 0;
        }
    }
    EXPECT_GT(ink, 2000);
    EXPECT_GT(paletteBlue, 100) << "the charts' first line, in the palette's blue";
}
#endif
