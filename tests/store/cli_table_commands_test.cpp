// quorvane-cli export, drop and query, end to end on a generated auction.
#include "store/database.h"
#include "support/round_files.h"
#include "support/temp_dir.h"

#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

using namespace qv::test;

namespace {

struct CliRun {
    int code;
    QString out;
    QByteArray raw;
    QString err;
};

CliRun cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QV_CLI_PATH), args);
    p.waitForFinished(120000);
    const QByteArray raw = p.readAllStandardOutput();
    return {p.exitCode(), QString::fromUtf8(raw), raw, QString::fromUtf8(p.readAllStandardError())};
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

    // A filter that keeps the rows above the middle amount and no others,
    // with a sort on top: both apply.
    const QStringList allRows = all.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const qsizetype amount = allRows[0].split(QLatin1Char('\t')).indexOf(QStringLiteral("Gross Bid Amount"));
    ASSERT_GE(amount, 0);
    std::vector<double> amounts;
    for (qsizetype i = 1; i < allRows.size(); ++i)
        amounts.push_back(allRows[i].split(QLatin1Char('\t'))[amount].toDouble());
    std::sort(amounts.begin(), amounts.end());
    const double middle = amounts[amounts.size() / 2];
    const auto above = std::count_if(amounts.begin(), amounts.end(), [&](double a) { return a > middle; });
    ASSERT_GT(above, 0);
    const CliRun picked = cli({QStringLiteral("export"), auction(), QStringLiteral("All Bids"),
                               QStringLiteral("2"), QStringLiteral("--filter"),
                               QStringLiteral("[Gross Bid Amount] > ") + QString::number(middle, 'g', 17),
                               QStringLiteral("--sort"), QStringLiteral("[Gross Bid Amount] DESC")});
    ASSERT_EQ(picked.code, 0);
    const QStringList rows = picked.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_EQ(rows.size() - 1, above);
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
    EXPECT_EQ(bad.err, QStringLiteral("Quorvane: Error 76 Path not found\n"));
    EXPECT_EQ(bad.out, QString());
    EXPECT_EQ(cli({QStringLiteral("export"), QStringLiteral("--help")}).code, 0);
}

TEST_F(CliTableCommands, ErrorsGoToStandardErrorNeverIntoTheOutput)
{
    // An export to standard output sent to a file: the error stays out of it.
    const CliRun filtered =
        cli({QStringLiteral("export"), auction(), QStringLiteral("All Bids"), QStringLiteral("3"),
             QStringLiteral("--filter"), QStringLiteral("[Nope] = 1")});
    EXPECT_EQ(filtered.code, 1);
    EXPECT_EQ(filtered.out, QString());
    EXPECT_TRUE(filtered.err.startsWith(QStringLiteral("Quorvane: Error 3061 ")))
        << filtered.err.toStdString();
    const QStringList failing[] = {
        {QStringLiteral("show"), auction(), QStringLiteral("Nope")},
        {QStringLiteral("sql"), auction(), QStringLiteral("SELECT [Nope] FROM [All Bids]")},
        {QStringLiteral("summary"), dir_->file(QStringLiteral("none.mdb"))},
        {QStringLiteral("drop"), auction(), QStringLiteral("Nope"), QStringLiteral("--yes")},
        {QStringLiteral("query"), auction(), QStringLiteral("run"), QStringLiteral("Nope")},
    };
    for (const QStringList& args : failing) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.code, 1) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(r.out, QString()) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << args.join(QLatin1Char(' ')).toStdString();
    }
}

TEST_F(CliTableCommands, ARoundNeverImportedIsAnErrorNotAnEmptyTable)
{
    const QString file = dir_->file(QStringLiteral("round99.txt"));
    const QStringList commands[] = {
        {QStringLiteral("export"), auction(), QStringLiteral("All Bids"), QStringLiteral("99")},
        {QStringLiteral("export"), auction(), QStringLiteral("All Bids"), QStringLiteral("99"),
         QStringLiteral("-o"), file},
        {QStringLiteral("show"), auction(), QStringLiteral("All Bids"), QStringLiteral("99")},
        {QStringLiteral("summary"), auction(), QStringLiteral("99")},
    };
    for (const QStringList& args : commands) {
        const CliRun r = cli(args);
        EXPECT_EQ(r.code, 1) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(r.out, QString()) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("3265"))) << r.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(file));
    // Round 3 is there: the round the table was asked for decides, not its rows.
    EXPECT_EQ(cli({QStringLiteral("show"), auction(), QStringLiteral("All Bids"), QStringLiteral("3")}).code,
              0);
}

TEST_F(CliTableCommands, OutputKeepsAReadOnlyFileAndWritesThroughALink)
{
    // A file without a write permission for anyone is refused: the shell's
    // ">" refuses it to every user but root, and an export refuses it to root
    // too (these tests run as root in CI), since a rename would replace it
    // with only the folder's permission.
    const QString kept = dir_->file(QStringLiteral("kept.txt"));
    {
        QFile file(kept);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("mine");
    }
    ASSERT_EQ(::chmod(QFile::encodeName(kept).constData(), 0444), 0);
    const QStringList exportTo{QStringLiteral("export"), auction(), QStringLiteral("Round Statistics"),
                               QStringLiteral("-o")};
    CliRun r = cli(exportTo + QStringList{kept});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("read-only"))) << r.err.toStdString();
    EXPECT_EQ(readFile(kept), "mine");

    // A link that names no file yet: the file is made where it points, the link stays.
    const QString link = dir_->file(QStringLiteral("latest.txt"));
    const QString pointed = dir_->file(QStringLiteral("exports/rounds.txt"));
    QDir().mkpath(dir_->file(QStringLiteral("exports")));
    ASSERT_TRUE(QFile::link(QStringLiteral("exports/rounds.txt"), link));
    r = cli(exportTo + QStringList{link});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readFile(pointed).count("\r\n"), 4);
}

TEST_F(CliTableCommands, DropRefusesSuppliedTablesAndDropsBuiltOnesOnlyWithYes)
{
    CliRun r = cli({QStringLiteral("drop"), auction(), QStringLiteral("All Bids"), QStringLiteral("--yes")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Access Denied: Access to All Bids denied.\n"));

    ASSERT_EQ(sql(QStringLiteral("SELECT [Bidder] INTO [Bob's Bids] FROM [Bidders]")).code, 0);
    qv::store::Database::open(auction())->execute(
        QStringLiteral("INSERT INTO [sysTables] (TableName) VALUES ('Bob''s Bids')"));

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

TEST_F(CliTableCommands, SqlChangesNoTableThatDropRefuses)
{
    const QString rounds = sql(QStringLiteral("SELECT * FROM [sysRounds]")).out;
    const QString bids = sql(QStringLiteral("SELECT COUNT(*) AS N FROM [All Bids]")).out;
    const char* const refused[] = {
        "DROP TABLE [sysRounds]",
        "drop table sysrounds",
        "ALTER TABLE [sysRounds] ADD CONSTRAINT [K] PRIMARY KEY ([Round])",
        "DELETE * FROM [All Bids] WHERE [Round] = 3",
        "UPDATE [Bidders] SET [Bidder] = 'x'",
        "INSERT INTO [sysTables] (TableName) VALUES ('Fake')",
        "INSERT INTO [All Bids] SELECT * FROM [All Bids]",
        "SELECT * INTO [sysWizard] FROM [Markets]",
        "DELETE FROM [sqlite_master]",
    };
    for (const char* statement : refused) {
        const CliRun r = sql(QLatin1String(statement));
        EXPECT_EQ(r.code, 1) << statement;
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("Error 3033: Access to "))) << r.err.toStdString();
    }
    EXPECT_EQ(sql(QStringLiteral("SELECT * FROM [sysRounds]")).out, rounds);
    EXPECT_EQ(sql(QStringLiteral("SELECT COUNT(*) AS N FROM [All Bids]")).out, bids);
    // A table of the user's own is the user's to change.
    ASSERT_EQ(sql(QStringLiteral("SELECT [Round] INTO [Scratch] FROM [sysRounds]")).code, 0);
    EXPECT_EQ(sql(QStringLiteral("DELETE * FROM [Scratch]")).code, 0);
    EXPECT_EQ(sql(QStringLiteral("DROP TABLE [Scratch]")).code, 0);
}

TEST_F(CliTableCommands, SavedQueriesAreAddedRunListedAndDeleted)
{
    const QString db = auction();
    const QStringList add{QStringLiteral("query"),    db,
                          QStringLiteral("add"),      QStringLiteral("Top Bids"),
                          QStringLiteral("--select"), QStringLiteral("[Round], [Bidder], [Gross Bid Amount]"),
                          QStringLiteral("--into"),   QStringLiteral("[Top Bids]"),
                          QStringLiteral("--from"),   QStringLiteral("[All Bids]"),
                          QStringLiteral("--where"),  QStringLiteral("[Bidder] <> 'Nobody''s'"),
                          QStringLiteral("--order"),  QStringLiteral("[Gross Bid Amount] DESC")};
    CliRun r = cli(add);
    ASSERT_EQ(r.code, 0) << r.out.toStdString();
    r = cli(add); // the name is taken
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("Quorvane: Error 3022: "))) << r.err.toStdString();

    r = cli({QStringLiteral("query"), db, QStringLiteral("list")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out,
              QStringLiteral("Query Name\tSelect\tInto\tFrom\tWhere\tOrder By\n"
                             "Top Bids\t[Round], [Bidder], [Gross Bid Amount]\t[Top Bids]\t[All Bids]\t"
                             "[Bidder] <> 'Nobody''s'\t[Gross Bid Amount] DESC\n"));

    for (int run = 0; run < 2; ++run) {
        r = cli({QStringLiteral("query"), db, QStringLiteral("run"), QStringLiteral("Top Bids")});
        EXPECT_EQ(r.code, 0) << r.out.toStdString();
        EXPECT_EQ(r.out, QStringLiteral("Quorvane: Finished building the table 'Top Bids' To view the table, "
                                        "select it from the Table pull-down menu.\n"));
    }
    EXPECT_EQ(sql(QStringLiteral("SELECT COUNT(*) AS N FROM [sysTables] WHERE [TableName] = 'Top Bids'")).out,
              QStringLiteral("N\n1\n"));
    EXPECT_EQ(sql(QStringLiteral("SELECT COUNT(*) AS N FROM [Top Bids]")).out,
              sql(QStringLiteral("SELECT COUNT(*) AS N FROM [All Bids]")).out);

    r = cli({QStringLiteral("query"), db, QStringLiteral("delete"), QStringLiteral("Top Bids")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(cli({QStringLiteral("query"), db, QStringLiteral("list")}).out,
              QStringLiteral("Query Name\tSelect\tInto\tFrom\tWhere\tOrder By\n"));
    EXPECT_EQ(sql(QStringLiteral("SELECT COUNT(*) AS N FROM [sysTables] WHERE [TableName] = 'Top Bids'")).out,
              QStringLiteral("N\n1\n")); // the built table stays
    r = cli({QStringLiteral("query"), db, QStringLiteral("run"), QStringLiteral("Top Bids")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Quorvane: No saved query named 'Top Bids'\n"));
    EXPECT_EQ(cli({QStringLiteral("query"), QStringLiteral("--help")}).code, 0);
    EXPECT_EQ(cli({QStringLiteral("query"), db, QStringLiteral("rename")}).code, 2);

    // Names a built table may not take: our work tables' prefix, a line
    // break, a supplied table's name with a blank after it.
    for (const QString& into :
         {QStringLiteral("[qv_build:Top]"), QStringLiteral("[Two\nLines]"), QStringLiteral("[All Bids ]")}) {
        r = cli({QStringLiteral("query"), db, QStringLiteral("add"), QStringLiteral("Odd"),
                 QStringLiteral("--select"), QStringLiteral("[Round]"), QStringLiteral("--into"), into,
                 QStringLiteral("--from"), QStringLiteral("[Markets]")});
        EXPECT_EQ(r.code, 1) << into.toStdString();
        EXPECT_TRUE((r.out + r.err).contains(QStringLiteral("a table you build cannot take its name")))
            << (r.out + r.err).toStdString();
    }
    EXPECT_EQ(cli({QStringLiteral("query"), db, QStringLiteral("list")}).out,
              QStringLiteral("Query Name\tSelect\tInto\tFrom\tWhere\tOrder By\n"));
}

TEST(CliSavedQueries, ASavedQueryIsRebuiltAfterAnImport)
{
    TempDir dir;
    const QString files = dir.file(QStringLiteral("files"));
    const QString first = dir.file(QStringLiteral("first"));
    QDir().mkpath(files);
    QDir().mkpath(first);
    ASSERT_EQ(cli({QStringLiteral("sample"), files, QStringLiteral("--rounds"), QStringLiteral("3"),
                   QStringLiteral("--licenses"), QStringLiteral("8"), QStringLiteral("--bidders"),
                   QStringLiteral("3")})
                  .code,
              0);
    for (const char* round : {"05_001.zip", "05_002.zip"})
        ASSERT_TRUE(QFile::copy(files + QLatin1Char('/') + QLatin1String(round),
                                first + QLatin1Char('/') + QLatin1String(round)));
    const QStringList appDir{QStringLiteral("--app-dir"), dir.path()};
    ASSERT_EQ(cli(appDir + QStringList{QStringLiteral("--yes"), QStringLiteral("batch"),
                                       first + QStringLiteral("/05_001.zip")})
                  .code,
              0);
    const QString db = dir.file(QStringLiteral("Auction5.mdb"));
    ASSERT_EQ(cli({QStringLiteral("query"), db, QStringLiteral("add"), QStringLiteral("Latest"),
                   QStringLiteral("--select"), QStringLiteral("DISTINCT [Round]"), QStringLiteral("--into"),
                   QStringLiteral("[Latest Rounds]"), QStringLiteral("--from"), QStringLiteral("[All Bids]"),
                   QStringLiteral("--order"), QStringLiteral("[Round] DESC")})
                  .code,
              0);
    ASSERT_EQ(cli({QStringLiteral("query"), db, QStringLiteral("run"), QStringLiteral("Latest")}).code, 0);
    EXPECT_EQ(cli({QStringLiteral("sql"), db, QStringLiteral("SELECT * FROM [Latest Rounds]")}).out,
              QStringLiteral("Round\n2\n1\n"));
    ASSERT_EQ(
        cli(appDir + QStringList{QStringLiteral("import"), db, files + QStringLiteral("/05_003.zip")}).code,
        0);
    EXPECT_EQ(cli({QStringLiteral("sql"), db, QStringLiteral("SELECT * FROM [Latest Rounds]")}).out,
              QStringLiteral("Round\n3\n2\n1\n"));
    EXPECT_EQ(
        cli({QStringLiteral("sql"), db,
             QStringLiteral("SELECT COUNT(*) AS N FROM [sysTables] WHERE [TableName] = 'Latest Rounds'")})
            .out,
        QStringLiteral("N\n1\n"));
}
