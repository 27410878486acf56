#include "store/database.h"
#include "support/scratch_volume.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <algorithm>

using namespace qv;

namespace {

struct Outcome {
    int code;
    QString out;
    QString err;
};

Outcome run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// Thirty bids of round 2 and one of round 1: one page at any font size.
QString makeAuction(const test::TempDir& dir)
{
    const QString path = dir.file(QStringLiteral("Auction5.mdb"));
    auto db = store::Database::create(path);
    db->execute(QStringLiteral("CREATE TABLE [sysRounds] ([Round] Number)"));
    db->execute(QStringLiteral("CREATE TABLE [All Bids] ([Round] Number, [Market] Text, [Block] Text, "
                               "[Submarket] Number, [Bidder] Text, [Net Bid Amount] Number)"));
    db->execute(QStringLiteral("INSERT INTO [sysRounds] VALUES (1), (2)"));
    db->beginTrans();
    db->execute(QStringLiteral("INSERT INTO [All Bids] VALUES (1, 'M99', 'A', 1, 'Osprey', 5)"));
    for (int i = 1; i <= 30; ++i)
        db->execute(QStringLiteral("INSERT INTO [All Bids] VALUES (2, 'M%1', 'A', 1, '%2', %3)")
                        .arg(i, 2, 10, QLatin1Char('0'))
                        .arg(i % 2 ? QStringLiteral("Heron") : QStringLiteral("Kestrel"))
                        .arg(i * 1000));
    db->commitTrans();
    db->close();
    return path;
}

const QString longName =
    QStringLiteral("Harbor Communications of the Greater Northwestern Seaboard, Incorporated");

// 150 bids of round 1: the 130th bidder's name is far longer than the first
// hundred's, and [Units] holds short and long negative numbers in turn.
QString makeWideAuction(const test::TempDir& dir)
{
    const QString path = dir.file(QStringLiteral("Auction6.mdb"));
    auto db = store::Database::create(path);
    db->execute(QStringLiteral("CREATE TABLE [sysRounds] ([Round] Long)"));
    db->execute(QStringLiteral("CREATE TABLE [Bids] ([Round] Long, [Bidder] Text(80), [Units] Long)"));
    db->execute(QStringLiteral("INSERT INTO [sysRounds] VALUES (1)"));
    db->beginTrans();
    for (int i = 1; i <= 150; ++i)
        db->execute(QStringLiteral("INSERT INTO [Bids] VALUES (1, '%1', %2)")
                        .arg(i == 130 ? longName : QStringLiteral("Heron"))
                        .arg(i % 2 ? -7 : -7777777));
    db->commitTrans();
    db->close();
    return path;
}

struct Word {
    int page;
    double xMin, xMax;
    QString text;
};

// Every word of the PDF with its place, in points from the page's left edge.
std::vector<Word> pdfWords(const QString& pdftotext, const QString& pdf)
{
    const QString html = run(pdftotext, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}).out;
    static const QRegularExpression word(QStringLiteral(
        "<page |<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    std::vector<Word> words;
    int page = 0;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page ")))
            ++page;
        else
            words.push_back({page, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3)});
    }
    return words;
}

} // namespace

// Columns are as wide as their widest value among every printed row; nothing
// is printed in the right margin, narrower than the left; numbers of a Long
// column end at one edge.
TEST(PrintCli, ColumnsHoldEveryValueWithinUnequalMargins)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "poppler-utils is not installed";
    test::TempDir dir;
    const QString db = makeWideAuction(dir);
    const QString pdf = dir.file(QStringLiteral("bids.pdf"));
    const Outcome r = run(QStringLiteral(QV_CLI_PATH),
                          {QStringLiteral("print"), db, QStringLiteral("Bids"), QStringLiteral("-o"), pdf,
                           QStringLiteral("--margins"), QStringLiteral("0.5,2.5,0.5,0.5")});
    ASSERT_EQ(r.code, 0) << r.out.toStdString();
    const QString text = run(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")}).out;
    EXPECT_TRUE(text.contains(longName)) << text.toStdString();

    const std::vector<Word> words = pdfWords(pdftotext, pdf);
    ASSERT_GT(words.size(), 300u);
    // Letter paper: the right margin starts 6 inches in, the left ends at half an inch.
    double leftmost = 1e9, rightmost = 0;
    std::vector<double> shortEnds, longEnds, shortStarts, longStarts;
    for (const Word& w : words) {
        leftmost = std::min(leftmost, w.xMin);
        rightmost = std::max(rightmost, w.xMax);
        if (w.text == QLatin1String("-7")) {
            shortEnds.push_back(w.xMax);
            shortStarts.push_back(w.xMin);
        } else if (w.text == QLatin1String("-7777777")) {
            longEnds.push_back(w.xMax);
            longStarts.push_back(w.xMin);
        }
    }
    EXPECT_GE(leftmost, 36.0);
    EXPECT_LE(rightmost, 6 * 72.0);
    ASSERT_EQ(shortEnds.size(), 75u);
    ASSERT_EQ(longEnds.size(), 75u);
    const auto [lowEnd, highEnd] = std::minmax_element(shortEnds.begin(), shortEnds.end());
    EXPECT_NEAR(*lowEnd, longEnds.front(), 1.0);
    EXPECT_NEAR(*highEnd, longEnds.front(), 1.0);
    EXPECT_GT(shortStarts.front() - longStarts.front(), 20.0);
}

TEST(PrintCli, WritesTheGridPagesAsPdf)
{
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdfinfo.isEmpty() || pdftotext.isEmpty())
        GTEST_SKIP() << "poppler-utils is not installed";
    test::TempDir dir;
    const QString db = makeAuction(dir);
    const QString pdf = dir.file(QStringLiteral("bids.pdf"));

    // Breaks at rows 11 and 21 and before the third column: three bands of
    // rows times two of columns, down first.
    Outcome r = run(QStringLiteral(QV_CLI_PATH),
                    {QStringLiteral("print"), db, QStringLiteral("All Bids"), QStringLiteral("-o"), pdf,
                     QStringLiteral("--row-break"), QStringLiteral("11"), QStringLiteral("--row-break"),
                     QStringLiteral("21"), QStringLiteral("--col-break"), QStringLiteral("3")});
    ASSERT_EQ(r.code, 0) << r.out.toStdString();
    Outcome info = run(pdfinfo, {pdf});
    EXPECT_TRUE(info.out.contains(QStringLiteral("Pages:           6"))) << info.out.toStdString();
    EXPECT_TRUE(info.out.contains(QStringLiteral("612 x 792 pts"))); // portrait letter
    EXPECT_TRUE(info.out.contains(QStringLiteral("All Bids - Round 2")));

    auto page = [&](int n) {
        return run(pdftotext, {QStringLiteral("-f"), QString::number(n), QStringLiteral("-l"),
                               QString::number(n), QStringLiteral("-layout"), pdf, QStringLiteral("-")})
            .out;
    };
    const QString first = page(1);
    EXPECT_TRUE(first.contains(QStringLiteral("Market")));
    EXPECT_TRUE(first.contains(QStringLiteral("M10")));
    EXPECT_FALSE(first.contains(QStringLiteral("M11")));
    EXPECT_FALSE(first.contains(QStringLiteral("Bidder")));
    EXPECT_FALSE(first.contains(QStringLiteral("M99"))); // another round
    const QString second = page(2);
    EXPECT_TRUE(second.contains(QStringLiteral("Market"))); // headers on every page
    EXPECT_TRUE(second.contains(QStringLiteral("M11")));
    EXPECT_TRUE(second.contains(QStringLiteral("20"))); // row headers too
    const QString fourth = page(4);
    EXPECT_TRUE(fourth.contains(QStringLiteral("Bidder")));
    EXPECT_TRUE(fourth.contains(QStringLiteral("Kestrel")));
    EXPECT_FALSE(fourth.contains(QStringLiteral("Market")));

    // Landscape, sorted and filtered, with margins: one page.
    r = run(QStringLiteral(QV_CLI_PATH),
            {QStringLiteral("print"), db, QStringLiteral("All Bids"), QStringLiteral("2"),
             QStringLiteral("-o"), pdf, QStringLiteral("--landscape"), QStringLiteral("--margins"),
             QStringLiteral("1,1,0.75,0.75"), QStringLiteral("--filter"),
             QStringLiteral("[Bidder] = 'Kestrel'"), QStringLiteral("--sort"),
             QStringLiteral("[Net Bid Amount] DESC")});
    ASSERT_EQ(r.code, 0) << r.out.toStdString();
    info = run(pdfinfo, {pdf});
    EXPECT_TRUE(info.out.contains(QStringLiteral("Pages:           1")));
    EXPECT_TRUE(info.out.contains(QStringLiteral("792 x 612 pts")));
    const QString sorted = page(1);
    EXPECT_FALSE(sorted.contains(QStringLiteral("Heron")));
    EXPECT_LT(sorted.indexOf(QStringLiteral("30000")), sorted.indexOf(QStringLiteral("2000")));

    // Bad margins and a missing output are refused before anything is written.
    EXPECT_EQ(run(QStringLiteral(QV_CLI_PATH),
                  {QStringLiteral("print"), db, QStringLiteral("All Bids"), QStringLiteral("-o"), pdf,
                   QStringLiteral("--margins"), QStringLiteral("1,1,x,1")})
                  .code,
              2);
    EXPECT_EQ(
        run(QStringLiteral(QV_CLI_PATH), {QStringLiteral("print"), db, QStringLiteral("All Bids")}).code, 2);
    // Margins must leave an inch to print on, across and down, the way the page lies.
    const struct {
        const char* margins;
        bool landscape;
        int code;
        const char* refused;
    } margins[] = {
        {"9.99,9.99,9.99,9.99", false, 2, "left"},
        {"5,5,1,1", false, 2, "left"},
        {"5,5,1,1", true, 0, nullptr},
    };
    for (const auto& m : margins) {
        QStringList args = {QStringLiteral("print"), db,  QStringLiteral("All Bids"),
                            QStringLiteral("-o"),    pdf, QStringLiteral("--margins"),
                            QLatin1String(m.margins)};
        if (m.landscape)
            args << QStringLiteral("--landscape");
        const Outcome refused = run(QStringLiteral(QV_CLI_PATH), args);
        EXPECT_EQ(refused.code, m.code) << m.margins;
        if (m.refused != nullptr) {
            EXPECT_TRUE(refused.err.contains(
                QStringLiteral("The %1 margin is too large").arg(QLatin1String(m.refused))))
                << refused.err.toStdString();
        }
    }
    // A table that is not there.
    EXPECT_EQ(run(QStringLiteral(QV_CLI_PATH),
                  {QStringLiteral("print"), db, QStringLiteral("Nope"), QStringLiteral("-o"), pdf})
                  .code,
              1);
}

TEST(PrintCli, APdfThatCannotBeWrittenWholeLeavesTheEarlierFile)
{
    test::TempDir dir;
    const QString db = makeAuction(dir);
    test::ScratchVolume volume(64, false);
    if (!volume.isMounted())
        GTEST_SKIP() << "cannot mount a scratch file system here";
    const QString pdf = volume.path() + QStringLiteral("/bids.pdf");
    {
        QFile earlier(pdf);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("the earlier report");
        // Fill the volume so only a few kilobytes remain.
        QFile filler(volume.path() + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        filler.write(QByteArray(56 * 1024, 'x'));
    }
    // Six pages of landscape letter at 600 dpi need more than the room left.
    const Outcome r = run(QStringLiteral(QV_CLI_PATH),
                          {QStringLiteral("print"), db, QStringLiteral("All Bids"), QStringLiteral("-o"), pdf,
                           QStringLiteral("--row-break"), QStringLiteral("6"), QStringLiteral("--row-break"),
                           QStringLiteral("11"), QStringLiteral("--row-break"), QStringLiteral("16"),
                           QStringLiteral("--row-break"), QStringLiteral("21"), QStringLiteral("--row-break"),
                           QStringLiteral("26")});
    EXPECT_EQ(r.code, 1) << r.out.toStdString();
    QFile earlier(pdf);
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), QByteArray("the earlier report"));
    EXPECT_EQ(QDir(volume.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("bids.pdf"), QStringLiteral("filler")}));
}
