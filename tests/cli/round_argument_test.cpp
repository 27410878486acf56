// The ROUND of export, show and print: a whole number or nothing (the newest
// round); --all asks for the whole table.
#include "support/cli_auction.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

#include <QDir>

#include <gtest/gtest.h>

namespace qv::test {

TEST(RoundArgument, ARoundThatIsNotAWholeNumberIsAUsageError)
{
    const CliAuction auction;
    TempDir out;
    const QString file = out.file(QStringLiteral("out"));
    for (const char* round :
         {"3 OR 1=1", "1 UNION SELECT * FROM [sysRounds]", "2;", "-1", "1.5", "1e1", " 2"}) {
        // A negative number reads as an option the command does not take.
        const QString problem = round[0] == '-'
                                    ? QStringLiteral("unknown option ") + QLatin1String(round)
                                    : QStringLiteral("ROUND must be a whole number: ") + QLatin1String(round);
        for (const QStringList& command :
             {QStringList{QStringLiteral("export"), auction.db, QStringLiteral("All Bids"),
                          QLatin1String(round), QStringLiteral("-o"), file},
              QStringList{QStringLiteral("show"), auction.db, QStringLiteral("All Bids"),
                          QLatin1String(round)},
              QStringList{QStringLiteral("print"), auction.db, QStringLiteral("All Bids"),
                          QLatin1String(round), QStringLiteral("-o"), file}}) {
            SCOPED_TRACE(command.first().toStdString() + " " + round);
            const CliRun run = runCli(command);
            EXPECT_EQ(run.code, 2);
            EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
            EXPECT_TRUE(run.err.contains(problem)) << run.err.toStdString();
            EXPECT_TRUE(run.err.contains(QStringLiteral("Usage: quorvane-cli ") + command.first()));
        }
    }
    EXPECT_TRUE(QDir(out.path()).isEmpty());
}

TEST(RoundArgument, WithoutARoundTheNewestOneAndWithAllTheWholeTableInItsOrder)
{
    const CliAuction auction;
    // All Bids as the grid orders it: by market, block and submarket, rounds mixed.
    const auto selected = [&](const QString& where) {
        return runCli({QStringLiteral("sql"), auction.db,
                       QStringLiteral("SELECT * FROM [All Bids]") + where +
                           QStringLiteral(" ORDER BY [Market], [Block], [Submarket]")})
            .out;
    };
    const QStringList show = {QStringLiteral("show"), auction.db, QStringLiteral("All Bids")};
    EXPECT_EQ(runCli(show).out, selected(QStringLiteral(" WHERE [Round] = 2")));
    EXPECT_EQ(runCli(show + QStringList{QStringLiteral("--all")}).out, selected({}));
    const CliRun exported =
        runCli({QStringLiteral("export"), auction.db, QStringLiteral("All Bids"), QStringLiteral("--all")});
    EXPECT_EQ(QString(exported.out).remove(QLatin1Char('\r')), selected({}));
    // A round and --all together ask for two things.
    EXPECT_EQ(runCli(show + QStringList{QStringLiteral("1"), QStringLiteral("--all")}).code, 2);
}

} // namespace qv::test
