// quorvane-cli starts with only what every command needs: libzip, and the
// OpenSSL library it brings along, are loaded when an archive is first read
// or written.
#include "support/cli_run.h"
#include "support/dynamic_section.h"
#include "support/temp_dir.h"

#include <QDir>

#include <gtest/gtest.h>

namespace qv::test {
namespace {

TEST(ProgramLibraries, LibzipIsLoadedOnlyForArchives)
{
    const QString dynamic = dynamicSectionOf(QStringLiteral(QV_CLI_PATH));
    if (dynamic.isEmpty())
        GTEST_SKIP() << "readelf is not available";
    ASSERT_TRUE(dynamic.contains(QStringLiteral("libQt6Core")));
    EXPECT_FALSE(dynamic.contains(QStringLiteral("libzip"))) << dynamic.toStdString();
    EXPECT_FALSE(dynamic.contains(QStringLiteral("libcrypto"))) << dynamic.toStdString();

    // Loaded when needed: round files are written, and read into an auction.
    TempDir folder;
    const QString rounds = folder.file(QStringLiteral("rounds"));
    const CliRun sample = runCli({QStringLiteral("sample"), rounds, QStringLiteral("--auction"),
                                  QStringLiteral("3"), QStringLiteral("--rounds"), QStringLiteral("2")});
    ASSERT_EQ(sample.code, 0) << sample.err.toStdString();
    const CliRun batch =
        runCli({QStringLiteral("--app-dir"), folder.file(QStringLiteral("app")), QStringLiteral("--yes"),
                QStringLiteral("batch"), rounds + QStringLiteral("/03_001.zip")});
    ASSERT_EQ(batch.code, 0) << batch.err.toStdString();
    EXPECT_TRUE(QDir(folder.file(QStringLiteral("app"))).exists(QStringLiteral("Auction3.mdb")));
}

} // namespace
} // namespace qv::test
