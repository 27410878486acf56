// The drawing commands say nothing on standard error when they succeed, even
// from cron or as root, where there is no XDG_RUNTIME_DIR and Qt Gui would
// say so.
#include "support/cli_run.h"
#include "support/temp_dir.h"

#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace qv::test {
namespace {

TEST(QuietDrawing, DrawingCommandsPrintNoNoiseWithAnEmptyEnvironment)
{
    TempDir folder;
    // A generated auction, whose files lack nothing the standings would note.
    const QString rounds = folder.file(QStringLiteral("rounds"));
    ASSERT_EQ(runCli({QStringLiteral("sample"), rounds, QStringLiteral("--rounds"), QStringLiteral("3"),
                      QStringLiteral("--licenses"), QStringLiteral("10"), QStringLiteral("--bidders"),
                      QStringLiteral("4")})
                  .code,
              0);
    ASSERT_EQ(runCli({QStringLiteral("--app-dir"), folder.path(), QStringLiteral("--yes"),
                      QStringLiteral("batch"), rounds + QStringLiteral("/05_001.zip")})
                  .code,
              0);
    const QString auction = folder.file(QStringLiteral("Auction5.mdb"));
    struct Case {
        QStringList args;
        const char* output;
    };
    std::vector<Case> cases = {
        {{QStringLiteral("print"), auction, QStringLiteral("All Bids"), QStringLiteral("2"),
          QStringLiteral("-o"), folder.file(QStringLiteral("bids.pdf"))},
         "bids.pdf"},
    };
#ifdef QV_HAVE_CHARTS
    cases.push_back({{QStringLiteral("pivot"), auction, QStringLiteral("bidders"), QStringLiteral("--from"),
                      QStringLiteral("1"), QStringLiteral("--to"), QStringLiteral("3"),
                      QStringLiteral("--chart"), folder.file(QStringLiteral("pivot.png"))},
                     "pivot.png"});
    cases.push_back({{QStringLiteral("standings"), auction, QStringLiteral("--chart"), QStringLiteral("net"),
                      QStringLiteral("-o"), folder.file(QStringLiteral("net.svg"))},
                     "net.svg"});
    cases.push_back(
        {{QStringLiteral("report"), auction, QStringLiteral("-o"), folder.file(QStringLiteral("r.html"))},
         "r.html"});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.first().toStdString());
        QProcess cli;
        // Nothing at all, as cron gives less than a login does.
        cli.setProcessEnvironment(QProcessEnvironment());
        cli.start(QStringLiteral(QV_CLI_PATH), c.args);
        ASSERT_TRUE(cli.waitForFinished(120000));
        EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(cli.exitCode(), 0);
        EXPECT_EQ(QString::fromUtf8(cli.readAllStandardError()), QString());
        EXPECT_TRUE(QFileInfo(folder.file(QLatin1String(c.output))).size() > 0);
    }
}

} // namespace
} // namespace qv::test
