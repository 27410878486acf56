// quorvane-cli pivot --chart: the chart written as a picture.
#ifdef QV_HAVE_CHARTS
#include "support/bid_auction.h"
#include "support/cli_run.h"
#include "support/five_round_auction.h"
#include "support/temp_dir.h"

#include <QFile>
#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

namespace qv::test {
namespace {

QStringList pivotArgs(const QString& db)
{
    return {QStringLiteral("pivot"),   db,
            QStringLiteral("bidders"), QStringLiteral("--from"),
            QStringLiteral("1"),       QStringLiteral("--to"),
            QStringLiteral("4")};
}

TEST(PivotChartCommand, WritesThePngAndTheSvg)
{
    TempDir folder;
    const QString db = makeBidAuction(folder.path());
    const QString png = folder.file(QStringLiteral("bids.png"));
    // No display: the command draws offscreen by itself.
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(QV_CLI_PATH), pivotArgs(db) + QStringList{QStringLiteral("--chart"), png});
    ASSERT_TRUE(cli.waitForFinished(180000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_TRUE(cli.readAllStandardOutput().isEmpty());

    QImage image;
    ASSERT_TRUE(image.load(png, "PNG"));
    EXPECT_EQ(image.size(), QSize(1200, 700));
    // Something was drawn: more than a background and one ink.
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 4);

    const QString svg = folder.file(QStringLiteral("bids.svg"));
    const CliRun run = runCli(pivotArgs(db) + QStringList{QStringLiteral("--chart"), svg});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("<svg")) << text.left(200).toStdString();
    EXPECT_TRUE(text.contains("Sum of Gross Bid Amount"));
}

TEST(PivotChartCommand, NamesThatLookLikeMarkupAreDrawnAsText)
{
    TempDir folder;
    const QString db = makeBidAuction(folder.path());
    nameAsPicture(db, folder.path(), QStringLiteral("Bidder"), QStringLiteral("Heron"),
                  QStringLiteral("Img"));
    const QString svg = folder.file(QStringLiteral("bids.svg"));
    const CliRun run = runCli(pivotArgs(db) + QStringList{QStringLiteral("--chart"), svg});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_FALSE(text.contains("<image"));
    EXPECT_FALSE(text.contains("base64"));
    EXPECT_TRUE(text.contains("&lt;img src=")) << text.toStdString();
}

TEST(PivotChartCommand, AnUnwritableFileFails)
{
    TempDir folder;
    const QString db = makeBidAuction(folder.path());
    const CliRun run = runCli(pivotArgs(db) + QStringList{QStringLiteral("--chart"),
                                                          folder.file(QStringLiteral("no/such/dir/c.png"))});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Could not write the chart"))) << run.err.toStdString();
}

} // namespace
} // namespace qv::test
#endif
