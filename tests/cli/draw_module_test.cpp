// The drawing commands run from a module loaded for them alone: the program
// itself must not load Qt Gui, Widgets or Charts, and must say so plainly when
// the module is missing.
#include "support/bid_auction.h"
#include "support/cli_run.h"
#include "support/dynamic_section.h"
#include "support/temp_dir.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace qv::test {
namespace {

TEST(DrawModule, TheProgramLinksNoDrawingLibraries)
{
    const QString dynamic = dynamicSectionOf(QStringLiteral(QV_CLI_PATH));
    if (dynamic.isEmpty())
        GTEST_SKIP() << "readelf is not available";
    ASSERT_TRUE(dynamic.contains(QStringLiteral("libQt6Core")));
    for (const char* library : {"libQt6Gui", "libQt6Widgets", "libQt6Charts", "libQt6Svg"})
        EXPECT_FALSE(dynamic.contains(QLatin1String(library))) << library;
}

TEST(DrawModule, PrintingWithoutTheModuleFailsWithItsName)
{
    TempDir folder;
    const QString db = makeBidAuction(folder.path());
    const QString alone = folder.file(QStringLiteral("quorvane-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(QV_CLI_PATH), alone));
    QProcess cli;
    cli.start(alone, {QStringLiteral("print"), db, QStringLiteral("All Bids"), QStringLiteral("-o"),
                      folder.file(QStringLiteral("bids.pdf"))});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 1);
    EXPECT_TRUE(
        QString::fromUtf8(cli.readAllStandardError()).contains(QStringLiteral("libquorvane-draw.so")));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("bids.pdf"))));

    // The commands that do not draw still run.
    QProcess show;
    show.start(alone, {QStringLiteral("show"), db, QStringLiteral("All Bids"), QStringLiteral("1")});
    ASSERT_TRUE(show.waitForFinished(60000));
    EXPECT_EQ(show.exitCode(), 0);
    EXPECT_TRUE(show.readAllStandardOutput().contains("\t"));
}

} // namespace
} // namespace qv::test
