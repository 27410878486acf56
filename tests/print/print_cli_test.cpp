#include "store/database.h"
#include "support/scratch_volume.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace qv;

namespace {

struct Outcome {
    int code;
    QString out;
};

Outcome run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput())};
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

} // namespace

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
