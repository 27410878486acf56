// quorvane-cli export, drop and query, end to end on a generated auction.
#include "support/round_files.h"
#include "support/temp_dir.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace qv::test;

namespace {

struct CliRun {
    int code;
    QString out;
    QByteArray raw;
};

CliRun cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QV_CLI_PATH), args);
    p.waitForFinished(120000);
    const QByteArray raw = p.readAllStandardOutput();
    return {p.exitCode(), QString::fromUtf8(raw), raw};
}

// One auction of three rounds for the whole suite: building it is the slow part.
class CliTableCommands : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = new TempDir;
        const QString files = dir_->file(QStringLiteral("files"));
        QDir().mkpath(files);
        ASSERT_EQ(cli({QStringLiteral("sample"), files, QStringLiteral("--rounds"), QStringLiteral("3"),
                       QStringLiteral("--licenses"), QStringLiteral("12"), QStringLiteral("--bidders"),
                       QStringLiteral("4")})
                      .code,
                  0);
        ASSERT_EQ(cli({QStringLiteral("--app-dir"), dir_->path(), QStringLiteral("--yes"),
                       QStringLiteral("batch"), files + QStringLiteral("/05_001.zip")})
                      .code,
                  0);
    }
    static void TearDownTestSuite()
    {
        delete dir_;
        dir_ = nullptr;
    }
    static QString auction() { return dir_->file(QStringLiteral("Auction5.mdb")); }
    static CliRun sql(const QString& statement) { return cli({QStringLiteral("sql"), auction(), statement}); }

    static TempDir* dir_;
};

TempDir* CliTableCommands::dir_ = nullptr;

} // namespace

TEST_F(CliTableCommands, ExportWritesTheGridsRowsFilteredAndSorted)
{
    const CliRun all =
        cli({QStringLiteral("export"), auction(), QStringLiteral("All Bids"), QStringLiteral("2")});
    ASSERT_EQ(all.code, 0) << all.out.toStdString();
    const QList<QByteArray> lines = all.raw.split('\n');
    ASSERT_GT(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("Auction ID\tRound\tLicense Name\t")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith('\r'));
    // Every line CR LF, the last one included.
    EXPECT_EQ(all.raw.count("\r\n"), all.raw.count('\n'));
    EXPECT_TRUE(all.raw.endsWith("\r\n"));

    // The same rows as show prints, in the grid's order.
    const CliRun shown =
        cli({QStringLiteral("show"), auction(), QStringLiteral("All Bids"), QStringLiteral("2")});
    EXPECT_EQ(all.out.count(QStringLiteral("\r\n")), shown.out.count(QLatin1Char('\n')));

    const CliRun picked =
        cli({QStringLiteral("export"), auction(), QStringLiteral("All Bids"), QStringLiteral("2"),
             QStringLiteral("--filter"), QStringLiteral("[Gross Bid Amount] > 0"), QStringLiteral("--sort"),
             QStringLiteral("[Gross Bid Amount] DESC")});
    ASSERT_EQ(picked.code, 0);
    const QStringList rows = picked.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const qsizetype amount = rows[0].split(QLatin1Char('\t')).indexOf(QStringLiteral("Gross Bid Amount"));
    ASSERT_GE(amount, 0);
    for (int i = 2; i < rows.size(); ++i)
        EXPECT_GE(rows[i - 1].split(QLatin1Char('\t'))[amount].toDouble(),
                  rows[i].split(QLatin1Char('\t'))[amount].toDouble());

    const QString file = dir_->file(QStringLiteral("rounds.txt"));
    const CliRun toFile = cli({QStringLiteral("export"), auction(), QStringLiteral("Round Statistics"),
                               QStringLiteral("-o"), file});
    EXPECT_EQ(toFile.code, 0);
    EXPECT_EQ(toFile.out, QStringLiteral("Operation Complete:        Export completed.\n"));
    EXPECT_EQ(readFile(file).count("\r\n"), 4); // header and three rounds

    const CliRun bad =
        cli({QStringLiteral("export"), auction(), QStringLiteral("All Bids"), QStringLiteral("2"),
             QStringLiteral("-o"), dir_->file(QStringLiteral("missing/x.txt"))});
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.out, QStringLiteral("Quorvane: Error 76 Path not found\n"));
    EXPECT_EQ(cli({QStringLiteral("export"), QStringLiteral("--help")}).code, 0);
}

TEST_F(CliTableCommands, DropRefusesSuppliedTablesAndDropsBuiltOnesOnlyWithYes)
{
    CliRun r = cli({QStringLiteral("drop"), auction(), QStringLiteral("All Bids"), QStringLiteral("--yes")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, QStringLiteral("Access Denied: Access to All Bids denied.\n"));

    ASSERT_EQ(sql(QStringLiteral("SELECT [Bidder] INTO [Bob's Bids] FROM [Bidders]")).code, 0);
    ASSERT_EQ(sql(QStringLiteral("INSERT INTO [sysTables] (TableName) VALUES ('Bob''s Bids')")).code, 0);

    r = cli({QStringLiteral("drop"), auction(), QStringLiteral("Bob's Bids")});
    EXPECT_EQ(r.code, 1); // the question answered No
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Caution: This action will permanently delete\n")));
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("(answered No)\n")));
    EXPECT_EQ(
        sql(QStringLiteral("SELECT COUNT(*) AS N FROM [sysTables] WHERE [TableName] = 'Bob''s Bids'")).out,
        QStringLiteral("N\n1\n"));

    r = cli({QStringLiteral("drop"), auction(), QStringLiteral("Bob's Bids"), QStringLiteral("--yes")});
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
    EXPECT_EQ(
        sql(QStringLiteral("SELECT COUNT(*) AS N FROM [sysTables] WHERE [TableName] = 'Bob''s Bids'")).out,
        QStringLiteral("N\n0\n"));
    EXPECT_EQ(sql(QStringLiteral("SELECT * FROM [Bob's Bids]")).code, 1);
    EXPECT_EQ(cli({QStringLiteral("drop"), QStringLiteral("--help")}).code, 0);
}
