// quorvane-cli standings and report on the hand-built five-round auction:
// what they print and write, and what they refuse without writing anything.
#include "store/database.h"
#include "store/sqlite_statement.h"
#include "support/cli_run.h"
#include "support/five_round_auction.h"
#include "support/qt_printers.h"
#include "support/temp_dir.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#ifdef QV_HAVE_CHARTS
#include <QImage>
#include <QRegularExpression>
#endif

#include <gtest/gtest.h>

using namespace qv;

namespace {

class StandingsCommand : public ::testing::Test {
protected:
    void SetUp() override { auction = test::makeFiveRoundAuction(dir.path()); }
    test::CliRun run(QStringList args)
    {
        args.insert(1, auction);
        return test::runCli(args);
    }
    QByteArray read(const QString& name)
    {
        QFile file(dir.file(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    test::TempDir dir;
    QString auction;
};

} // namespace

// JSON names the figures for the next round and the bidders' activity as
// the window's columns are named, a licence the agency holds included.
TEST_F(StandingsCommand, JsonNamesTheNewColumns)
{
    {
        auto db = store::Database::open(auction);
        for (const char* statement :
             {"ALTER TABLE Markets ADD COLUMN \"Minimum Accepted Bid\" REAL",
              "ALTER TABLE Markets ADD COLUMN Population INTEGER",
              "ALTER TABLE Markets ADD COLUMN \"Bidding Units\" INTEGER",
              "UPDATE Markets SET \"Minimum Accepted Bid\" = 180, Population = 400, \"Bidding Units\" = 7",
              "ALTER TABLE Bidders ADD COLUMN Activity INTEGER",
              "ALTER TABLE Bidders ADD COLUMN \"Required Activity\" INTEGER",
              "ALTER TABLE Bidders ADD COLUMN \"Waivers Remaining\" INTEGER",
              "UPDATE Bidders SET Activity = 70, \"Required Activity\" = 64, \"Waivers Remaining\" = 3"})
            store::exec(db->handle(), QLatin1String(statement));
        db->close();
    }
    const test::CliRun licences = run({QStringLiteral("standings"), QStringLiteral("4"),
                                       QStringLiteral("--format"), QStringLiteral("json")});
    ASSERT_EQ(licences.code, 0) << licences.err.toStdString();
    EXPECT_TRUE(licences.out.contains(QStringLiteral(
        "{\"License Name\":\"B-2\",\"Market Name\":\"Boston\",\"Holder\":\"(agency)\",\"High Bid\":null,"
        "\"Net High Bid\":null,\"Increase\":null,\"Increase %\":null,\"Rounds Since Changing Hands\":3,"
        "\"Bidders This Round\":0,\"Withdrawn Bid\":200,\"Minimum Accepted Bid\":180,\"Next Increment\":null,"
        "\"Price per Pop\":null,\"Bidding Units\":7,\"Check\":null}")))
        << licences.out.toStdString();
    const test::CliRun bidders =
        run({QStringLiteral("standings"), QStringLiteral("5"), QStringLiteral("--by"),
             QStringLiteral("bidder"), QStringLiteral("--format"), QStringLiteral("json")});
    ASSERT_EQ(bidders.code, 0);
    EXPECT_TRUE(bidders.out.contains(QStringLiteral(
        "\"Current Eligibility\":80,\"Bidding Units Held\":7,\"Additional Activity Required\":40,"
        "\"Activity\":70,\"Required Activity\":64,\"Waivers Remaining\":3,\"Exposure\":421}")))
        << bidders.out.toStdString();
}

TEST_F(StandingsCommand, PrintsEachViewOfARound)
{
    const test::CliRun licences = run({QStringLiteral("standings"), QStringLiteral("3")});
    ASSERT_EQ(licences.code, 0) << licences.err.toStdString();
    EXPECT_EQ(
        licences.out.section(QLatin1Char('\n'), 0, 2),
        QStringLiteral("License Name\tMarket Name\tHolder\tHigh Bid\tNet High Bid\tIncrease\tIncrease %\t"
                       "Rounds Since Changing Hands\tBidders This Round\tWithdrawn Bid\tCheck\n"
                       "A-1\tAlbany\tHeron\t121\t121\t11\t10\t0\t1\t\t\n"
                       // Passing to the agency is no change of hands: Kestrel took it in round 1.
                       "B-2\tBoston\t(agency)\t\t\t\t\t2\t0\t200\t"));
    EXPECT_EQ(licences.err, QString()) << "an auction with every column needs no note";
    EXPECT_TRUE(licences.out.endsWith(QStringLiteral("\nTotal\t\t\t176\t176\t\t\t\t\t\t\n")))
        << licences.out.toStdString();

    const test::CliRun bidders =
        run({QStringLiteral("standings"), QStringLiteral("--by"), QStringLiteral("bidder"),
             QStringLiteral("--format"), QStringLiteral("json")});
    ASSERT_EQ(bidders.code, 0);
    EXPECT_TRUE(bidders.out.startsWith(QStringLiteral(
        "[\n{\"Bidder\":\"Kestrel\",\"Licences Held\":1,\"High Bids Held\":300,\"Net High Bids Held\":300,"
        "\"Gained\":0,\"Lost\":0,\"Bids This Round\":1,\"Current Eligibility\":80,")))
        << bidders.out.toStdString();
    EXPECT_FALSE(bidders.out.contains(QStringLiteral("Total"))) << "JSON lists the bidders alone";

    const test::CliRun markets =
        run({QStringLiteral("standings"), QStringLiteral("--by"), QStringLiteral("market")});
    ASSERT_EQ(markets.code, 0);
    EXPECT_TRUE(markets.out.startsWith(
        QStringLiteral("Market Name\tLicences\tHeld\tHeld by the Agency\tHigh Bid\tNet High Bid\n")));
    EXPECT_TRUE(markets.out.endsWith(QStringLiteral("\nTotal\t5\t4\t0\t661\t556\n")))
        << markets.out.toStdString();

    const test::CliRun changes =
        run({QStringLiteral("standings"), QStringLiteral("5"), QStringLiteral("--by"),
             QStringLiteral("changes"), QStringLiteral("--format"), QStringLiteral("csv")});
    ASSERT_EQ(changes.code, 0);
    EXPECT_EQ(changes.out, QStringLiteral("Change,Subject,From,To,Amount,Change %\r\n"
                                          "Changed hands,B-2,(agency),O'Brien Mobile,180,-10\r\n"
                                          "Eligibility fell,Kestrel,100,80,,-20\r\n"));
}

TEST_F(StandingsCommand, SaysWhatTheFilesLackOnStandardError)
{
    test::dropStandingsColumns(auction);
    const test::CliRun result = run({QStringLiteral("standings"), QStringLiteral("4")});
    ASSERT_EQ(result.code, 0);
    for (const char* column :
         {"[New High Bid] (All Bids)", "[High Bid] (Markets)", "[Withdrawal Round] (Withdrawal Statistics)"})
        EXPECT_TRUE(result.err.contains(QLatin1String(column))) << result.err.toStdString();
    EXPECT_FALSE(result.out.contains(QStringLiteral("lack")));
    EXPECT_TRUE(result.out.contains(QStringLiteral("E-5\tEl Paso\tHeron / Kestrel (tied)\t300")))
        << result.out.toStdString();
}

TEST_F(StandingsCommand, BadInputWritesNothing)
{
    // An earlier file of the same name stays as it was.
    QFile earlier(dir.file(QStringLiteral("kept.png")));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();
    struct Case {
        QStringList args;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {{QStringLiteral("standings"), QStringLiteral("6")}, 1, "Round 6 has not been imported."},
        {{QStringLiteral("standings"), QStringLiteral("0")}, 1, "Round 0 has not been imported."},
        {{QStringLiteral("standings"), QStringLiteral("--chart"), QStringLiteral("licence:Z-9"),
          QStringLiteral("-o"), dir.file(QStringLiteral("kept.png"))},
         1,
         "This auction has no licence named Z-9."},
        {{QStringLiteral("standings"), QStringLiteral("--chart"), QStringLiteral("bidder:Wren"),
          QStringLiteral("-o"), dir.file(QStringLiteral("new.svg"))},
         1,
         "This auction has no bidder named Wren."},
        {{QStringLiteral("report"), QStringLiteral("7"), QStringLiteral("-o"),
          dir.file(QStringLiteral("r.html"))},
         1,
         "Round 7 has not been imported."},
        {{QStringLiteral("standings"), QStringLiteral("--by"), QStringLiteral("region")}, 2, "Usage:"},
        {{QStringLiteral("standings"), QStringLiteral("--chart"), QStringLiteral("licence:A-1"),
          QStringLiteral("-o"), dir.file(QStringLiteral("chart.pdf"))},
         2,
         "-o takes a picture ending in .png or .svg"},
        {{QStringLiteral("standings"), QStringLiteral("--chart"), QStringLiteral("licence:A-1"),
          QStringLiteral("--chart"), QStringLiteral("bidder:Heron"), QStringLiteral("-o"),
          dir.file(QStringLiteral("mixed.png"))},
         2,
         "Usage:"},
        {{QStringLiteral("report")}, 2, "Usage:"},
        {{QStringLiteral("report"), QStringLiteral("-o")}, 2, "Usage:"},
        {{QStringLiteral("report"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("-o"),
          dir.file(QStringLiteral("r.html"))},
         2,
         "Usage:"},
    };
    for (const Case& c : cases) {
        const test::CliRun result = run(c.args);
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        EXPECT_EQ(result.code, c.code);
        EXPECT_TRUE(result.err.contains(QLatin1String(c.message))) << result.err.toStdString();
        EXPECT_EQ(result.out, QString());
    }
    EXPECT_EQ(read(QStringLiteral("kept.png")), QByteArray("earlier"));
    for (const char* name : {"new.svg", "r.html", "chart.pdf", "mixed.png"})
        EXPECT_FALSE(QFileInfo::exists(dir.file(QLatin1String(name)))) << name;

    // Withdrawals counted but listed nowhere: no holder can be trusted.
    store::Database::open(auction)->execute(QStringLiteral("DELETE FROM [Withdrawal Statistics]"));
    const test::CliRun refused =
        run({QStringLiteral("report"), QStringLiteral("-o"), dir.file(QStringLiteral("r.html"))});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("[Withdrawal Statistics] has no rows")))
        << refused.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("r.html"))));
}

#ifdef QV_HAVE_CHARTS
TEST_F(StandingsCommand, DrawsChartsAsPngAndSvg)
{
    const QString png = dir.file(QStringLiteral("prices.png"));
    const test::CliRun prices =
        run({QStringLiteral("standings"), QStringLiteral("--chart"), QStringLiteral("licence:B-2"),
             QStringLiteral("--chart"), QStringLiteral("licence:D[4]"), QStringLiteral("-o"), png});
    ASSERT_EQ(prices.code, 0) << prices.err.toStdString();
    const QImage picture(png);
    EXPECT_EQ(picture.size(), QSize(1200, 600));
    const QString svg = dir.file(QStringLiteral("kestrel.svg"));
    const test::CliRun bidder =
        run({QStringLiteral("standings"), QStringLiteral("4"), QStringLiteral("--chart"),
             QStringLiteral("bidder:Kestrel"), QStringLiteral("-o"), svg});
    ASSERT_EQ(bidder.code, 0) << bidder.err.toStdString();
    const QByteArray text = read(QStringLiteral("kestrel.svg"));
    // Licences held above eligibility, rounds 1 to 4.
    EXPECT_TRUE(text.contains("Licences held") && text.contains("Eligibility"))
        << text.left(400).toStdString();
    EXPECT_TRUE(text.contains("viewBox=\"0 0 1200 1200\"")) << text.left(400).toStdString();
    // Text in a family browsers know, at least 11 px when the 1200 px chart shows 1000 px wide.
    EXPECT_TRUE(text.contains("font-family=\"sans-serif\""));
    EXPECT_FALSE(text.contains("Sans Serif"));
    static const QRegularExpression size(QStringLiteral("font-size=\"([0-9.]+)\""));
    int sizes = 0;
    for (const QRegularExpressionMatch& m : size.globalMatch(QString::fromUtf8(text))) {
        ++sizes;
        EXPECT_GE(m.captured(1).toDouble() * 1000 / 1200, 11) << m.captured(0).toStdString();
    }
    EXPECT_GT(sizes, 0);

    // Standard output takes the picture, as PNG.
    QProcess toOutput;
    toOutput.start(QStringLiteral(QV_CLI_PATH),
                   {QStringLiteral("standings"), auction, QStringLiteral("--chart"), QStringLiteral("net"),
                    QStringLiteral("-o"), QStringLiteral("/dev/stdout")});
    ASSERT_TRUE(toOutput.waitForFinished(180000));
    EXPECT_EQ(toOutput.exitCode(), 0) << toOutput.readAllStandardError().toStdString();
    QImage piped;
    EXPECT_TRUE(piped.loadFromData(toOutput.readAllStandardOutput(), "PNG"));
    EXPECT_EQ(piped.size(), QSize(1200, 600));
}

// A name from the files that reads as markup is drawn as its letters: the
// picture it names is never loaded, nor embedded in the drawing.
TEST_F(StandingsCommand, NamesThatLookLikeMarkupAreDrawnAsText)
{
    test::nameAsPicture(auction, dir.path(), QStringLiteral("Bidder"), QStringLiteral("Kestrel"),
                        QStringLiteral("Kes"));
    test::nameAsPicture(auction, dir.path(), QStringLiteral("License Name"), QStringLiteral("B-2"),
                        QStringLiteral("B2"));
    const QString picture = dir.file(QStringLiteral("p.png"));
    const QString shown = QStringLiteral("&lt;img src=");
    const QList<QStringList> charts = {
        {QStringLiteral("--chart"),
         QStringLiteral("bidder:<img src=\"") + picture + QStringLiteral("\">Kes")},
        {QStringLiteral("--chart"), QStringLiteral("licence:<img src=\"") + picture + QStringLiteral("\">B2"),
         QStringLiteral("--chart"), QStringLiteral("licence:A-1")},
    };
    for (const QStringList& chart : charts) {
        const QString svg = dir.file(QStringLiteral("chart.svg"));
        const test::CliRun drawn =
            run(QStringList{QStringLiteral("standings")} + chart + QStringList{QStringLiteral("-o"), svg});
        ASSERT_EQ(drawn.code, 0) << drawn.err.toStdString();
        const QString text = QString::fromUtf8(read(QStringLiteral("chart.svg")));
        EXPECT_FALSE(text.contains(QStringLiteral("<image"))) << chart.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("base64")));
        EXPECT_TRUE(text.contains(shown)) << chart.join(QLatin1Char(' ')).toStdString();
    }
    const test::CliRun report =
        run({QStringLiteral("report"), QStringLiteral("-o"), dir.file(QStringLiteral("report.html"))});
    ASSERT_EQ(report.code, 0) << report.err.toStdString();
    const QString html = QString::fromUtf8(read(QStringLiteral("report.html")));
    EXPECT_FALSE(html.contains(QStringLiteral("<image")));
    EXPECT_FALSE(html.contains(QStringLiteral("<img")));
    EXPECT_FALSE(html.contains(QStringLiteral("base64")));
    EXPECT_TRUE(html.contains(shown));
}
#endif
