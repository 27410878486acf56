#include "support/qt_printers.h"
#include "support/temp_dir.h"

#include "support/cli_run.h"
#include <QFile>

#include <QProcess>

#include <gtest/gtest.h>

using namespace qv::test;

namespace {

CliRun cli(const QStringList& args)
{
    return runCli(args);
}

// Round results files 05_001.zip to 05_003.zip of a small generated auction;
// the exit code of the run that made them.
int makeRoundFiles(const TempDir& files)
{
    return cli({QStringLiteral("sample"), files.path(), QStringLiteral("--rounds"), QStringLiteral("3"),
                QStringLiteral("--licenses"), QStringLiteral("16"), QStringLiteral("--bidders"),
                QStringLiteral("4")})
        .code;
}

} // namespace

TEST(QuorvaneCli, ScriptedImportsDuringALiveAuction)
{
    TempDir app, files;
    ASSERT_EQ(makeRoundFiles(files), 0);
    const QStringList appDir{QStringLiteral("--app-dir"), app.path()};
    const QString auction = app.file(QStringLiteral("Auction5.mdb"));

    CliRun r = cli(appDir + QStringList{QStringLiteral("create"), files.file(QStringLiteral("05_001.zip"))});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out,
              QStringLiteral("Round Imported Successfully: Auction 5 has been successfully created.\n"));

    r = cli(appDir + QStringList{QStringLiteral("import"), auction}); // the next file, round 2
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out,
              QStringLiteral("Round Imported Successfully: Round 2 has been successfully imported.\n"));
    r = cli(appDir +
            QStringList{QStringLiteral("import"), auction, files.file(QStringLiteral("05_003.zip"))});
    EXPECT_EQ(r.code, 0);
    r = cli(appDir + QStringList{QStringLiteral("import"), auction}); // no round 4 yet
    EXPECT_NE(r.code, 0);

    r = cli(appDir + QStringList{QStringLiteral("create"), files.file(QStringLiteral("05_002.zip"))});
    EXPECT_NE(r.code, 0);
    EXPECT_EQ(r.err, QStringLiteral(
                         "Wrong File: This file does not contain round 1!\n           Please try again.\n"));

    r = cli({QStringLiteral("sql"), auction,
             QStringLiteral("SELECT [Round] FROM [sysRounds] ORDER BY [Round] DESC")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, QStringLiteral("Round\n3\n2\n1\n"));
    r = cli({QStringLiteral("sql"), auction, QStringLiteral("DROP TABLE [Nope]")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Error 3376: Table 'Nope' does not exist.\n"));
    EXPECT_EQ(r.out, QString());
}

// A scheduled job trusts the exit code: 0 exactly when the auction is made or
// the round is in.
TEST(QuorvaneCli, ExitCodesFollowWhetherTheRoundIsIn)
{
    TempDir app, files;
    ASSERT_EQ(makeRoundFiles(files), 0);
    const QStringList appDir{QStringLiteral("--app-dir"), app.path()};
    const QString first = files.file(QStringLiteral("05_001.zip"));
    const QString auction = app.file(QStringLiteral("Auction5.mdb"));
    ASSERT_EQ(cli(appDir + QStringList{QStringLiteral("create"), first}).code, 0);

    // Replacing an auction with --yes succeeds, and says so by its code.
    CliRun r = cli(appDir + QStringList{QStringLiteral("--yes"), QStringLiteral("create"), first});
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
    r = cli(appDir + QStringList{QStringLiteral("--yes"), QStringLiteral("batch"), first});
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("Finished importing rounds 1 to 3.\n")));
    r = cli(appDir + QStringList{QStringLiteral("batch"), first}); // answered No: nothing made
    EXPECT_EQ(r.code, 1);

    // An import given its file needs no lastimp.inf beforehand.
    ASSERT_TRUE(QFile::remove(app.file(QStringLiteral("lastimp.inf"))));
    r = cli(appDir +
            QStringList{QStringLiteral("import"), auction, files.file(QStringLiteral("05_002.zip"))});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out,
              QStringLiteral("Round Imported Successfully: Round 2 has been successfully imported.\n"));
    EXPECT_EQ(cli(appDir + QStringList{QStringLiteral("import"), auction}).code, 1); // no round 4 yet
}

// A saved query that fails on the new round keeps its table as it was; the
// queries after it are still rebuilt, the failure is named for what it is,
// and the import's exit code says not everything was done.
TEST(QuorvaneCli, AFailingSavedQueryDoesNotStopTheOthersAndFailsTheImport)
{
    TempDir app, files;
    ASSERT_EQ(makeRoundFiles(files), 0);
    const QStringList appDir{QStringLiteral("--app-dir"), app.path()};
    const QString auction = app.file(QStringLiteral("Auction5.mdb"));
    ASSERT_EQ(
        cli(appDir + QStringList{QStringLiteral("create"), files.file(QStringLiteral("05_001.zip"))}).code,
        0);
    ASSERT_EQ(cli(appDir + QStringList{QStringLiteral("import"), auction}).code, 0);
    const auto add = [&](const QString& name, const QString& where) {
        QStringList args{QStringLiteral("query"),    auction,
                         QStringLiteral("add"),      name,
                         QStringLiteral("--select"), QStringLiteral("[Round]"),
                         QStringLiteral("--into"),   QLatin1Char('[') + name + QLatin1Char(']'),
                         QStringLiteral("--from"),   QStringLiteral("[Markets]")};
        if (!where.isEmpty())
            args << QStringLiteral("--where") << where;
        return cli(args).code;
    };
    ASSERT_EQ(add(QStringLiteral("QA"), QStringLiteral("1/([Round]-3) <> 0")), 0);
    ASSERT_EQ(add(QStringLiteral("QB"), QString()), 0);
    for (const QString& name : {QStringLiteral("QA"), QStringLiteral("QB")})
        ASSERT_EQ(cli({QStringLiteral("query"), auction, QStringLiteral("run"), name}).code, 0);

    const CliRun r = cli(appDir + QStringList{QStringLiteral("import"), auction});
    EXPECT_EQ(r.code, 1);
    const QString said = r.out + r.err;
    EXPECT_TRUE(said.contains(QStringLiteral("Round 3 has been successfully imported.")));
    EXPECT_TRUE(said.contains(QStringLiteral("User's Error:11 ")) &&
                said.contains(QStringLiteral("The user defined table 'QA' was not rebuilt")))
        << said.toStdString();
    EXPECT_FALSE(said.contains(QStringLiteral("Due To Open")));
    const auto newest = [&](const QString& table) {
        return cli({QStringLiteral("sql"), auction,
                    QStringLiteral("SELECT Max([Round]) AS M FROM [") + table + QLatin1Char(']')})
            .out;
    };
    EXPECT_EQ(newest(QStringLiteral("QA")), QStringLiteral("M\n2\n"));
    EXPECT_EQ(newest(QStringLiteral("QB")), QStringLiteral("M\n3\n"));
}
