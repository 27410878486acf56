#include "import_test_fixture.h"
#include "store/jet/bounded_run.h"
#include "support/cli_run.h"

#include <QProcess>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <signal.h>
#include <unistd.h>

using namespace qv;
using namespace qv::test;

namespace {

const QString fixtures = QStringLiteral(QV_FIXTURES_DIR "/jet-rounds");

class JetImportTest : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        for (int r = 1; r <= 4; ++r) {
            const QString name = QStringLiteral("12_00%1.zip").arg(r);
            ASSERT_TRUE(QFile::copy(fixtures + QLatin1Char('/') + name, zip(name)));
        }
    }

    // Sum of a currency column over every round, as mdb-export prints it.
    static double exportedSum(const QString& table, const QString& column)
    {
        double sum = 0;
        for (int r = 1; r <= 4; ++r) {
            TempDir work;
            const QString mdb = work.file(QStringLiteral("r.mdb"));
            QFile out(mdb);
            out.open(QIODevice::WriteOnly);
            out.write(memberOf(fixtures + QStringLiteral("/12_00%1.zip").arg(r)));
            out.close();
            QProcess p;
            p.start(QStringLiteral("mdb-export"),
                    {QStringLiteral("-d"), QStringLiteral("\t"), QStringLiteral("-Q"), mdb, table});
            p.waitForFinished();
            const QStringList lines =
                QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            const int at = static_cast<int>(lines.value(0).split(QLatin1Char('\t')).indexOf(column));
            for (qsizetype i = 1; i < lines.size(); ++i)
                sum += lines[i].split(QLatin1Char('\t')).value(at).toDouble();
        }
        return sum;
    }
};

} // namespace

TEST_F(JetImportTest, CreateConvertsTheJetRoundToOurFormat)
{
    ASSERT_TRUE(create(QStringLiteral("12_001.zip")));
    EXPECT_EQ(prompter.messages.back().text, QStringLiteral("Auction 12 has been successfully created.\r"));
    EXPECT_FALSE(readFile(auctionPath(12)).mid(4, 15).startsWith("Standard Jet"));
    const QStringList supplied = column(QStringLiteral("SELECT TableName FROM sysSuppliedTables"));
    EXPECT_EQ(supplied.size(), 13); // the eleven, SysY and "Extra Notes"
    for (const QString& t : supplied)
        EXPECT_FALSE(t.startsWith(QLatin1String("MSys")) || t.startsWith(QLatin1String("sys")));
    EXPECT_FALSE(db().tableExists(QStringLiteral("MSysObjects")));
    EXPECT_TRUE(db().tableExists(QStringLiteral("sysX")));

    auto rs =
        db().openRecordset(QStringLiteral("SELECT [Round Date] FROM [Round Statistics] WHERE [Round] = 1"));
    rs->moveFirst();
    EXPECT_EQ(rs->value(0).typeId(), QMetaType::QDateTime);
    EXPECT_EQ(rs->field(0).type, store::FieldType::Date);
}

TEST_F(JetImportTest, BatchAndImportsTwiceKeepCurrencyExact)
{
    prompter.files.push_back(zip(QStringLiteral("12_001.zip")));
    ASSERT_TRUE(BatchImportAuction(host));
    EXPECT_EQ(prompter.messages.back().text, QStringLiteral("Finished importing rounds 1 to 4."));
    const QStringList batch = dump();

    ASSERT_TRUE(import(QStringLiteral("12_003.zip")));
    ASSERT_TRUE(import(QStringLiteral("12_004.zip")));
    EXPECT_EQ(dump(), batch);

    auto sum = db().openRecordset(QStringLiteral("SELECT Sum([Gross Bid Amount]) AS [S] FROM [All Bids]"));
    sum->moveFirst();
    const double expected = exportedSum(QStringLiteral("All Bids"), QStringLiteral("Gross Bid Amount"));
    EXPECT_GT(expected, 0.0);
    EXPECT_EQ(std::llround(sum->value(0).toDouble() * 100), std::llround(expected * 100));
    EXPECT_EQ(leftovers(), QStringList{QStringLiteral("Auction12.mdb")});
}

TEST_F(JetImportTest, MixedAuctionOfJetAndOwnFormatRounds)
{
    ASSERT_TRUE(create(QStringLiteral("12_001.zip")));
    // Round 2 converted to our own format, as another publisher might send it.
    TempDir work;
    const QString mdb = work.file(QStringLiteral("12_002.mdb"));
    QFile out(mdb);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(memberOf(zip(QStringLiteral("12_002.zip"))));
    out.close();
    ASSERT_TRUE(store::convertToOwnFormat(mdb));
    writeZip(zip(QStringLiteral("12_002.zip")), QStringLiteral("12_002.mdb"), readFile(mdb));

    ASSERT_TRUE(import(QStringLiteral("12_002.zip")));
    ASSERT_TRUE(import(QStringLiteral("12_003.zip")));
    EXPECT_EQ(column(QStringLiteral("SELECT [Round] FROM [sysRounds] ORDER BY [Round]")),
              (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    EXPECT_GT(count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Round] = 2")), 0);
}

TEST_F(JetImportTest, DamagedJetFilesFailCleanly)
{
    ASSERT_TRUE(create(QStringLiteral("12_001.zip")));
    const QStringList before = dump();
    writeZip(zip(QStringLiteral("12_002.zip")), QStringLiteral("12_002.mdb"),
             memberOf(fixtures + QStringLiteral("/12_002.zip")).left(6000));
    EXPECT_FALSE(import(QStringLiteral("12_002.zip")));
    EXPECT_TRUE(prompter.messages.back().text.startsWith(QStringLiteral("Error:3343 ")));
    writeZip(zip(QStringLiteral("12_003.zip")), QStringLiteral("12_003.mdb"),
             QByteArray("not a database at all"));
    EXPECT_FALSE(import(QStringLiteral("12_003.zip")));
    EXPECT_TRUE(prompter.messages.back().text.startsWith(QStringLiteral("Error:3343 ")));
    EXPECT_EQ(dump(), before);
    EXPECT_EQ(leftovers(), QStringList{QStringLiteral("Auction12.mdb")});
}

// libmdb reads this file for ever, printing a warning each time round: the
// import ends, says the round results file is damaged, prints little and
// leaves the auction as it was.
TEST(JetHangTest, AJetFileThatLibmdbReadsForEverIsCalledDamaged)
{
    TempDir app, files;
    const QString first = files.file(QStringLiteral("12_001.zip"));
    const QString hanging = files.file(QStringLiteral("12_002.zip"));
    ASSERT_TRUE(QFile::copy(fixtures + QStringLiteral("/12_001.zip"), first));
    ASSERT_TRUE(QFile::copy(QStringLiteral(QV_FIXTURES_DIR "/damaged-jet/12_002.zip"), hanging));
    const QString db = app.file(QStringLiteral("Auction12.mdb"));
    ASSERT_EQ(runCli({QStringLiteral("--app-dir"), app.path(), QStringLiteral("create"), first}).code, 0);
    const QString before =
        runCli({QStringLiteral("show"), db, QStringLiteral("sysRounds"), QStringLiteral("--all")}).out;

    QProcess import;
    import.start(QStringLiteral(QV_CLI_PATH),
                 {QStringLiteral("--app-dir"), app.path(), QStringLiteral("import"), db, hanging});
    ASSERT_TRUE(import.waitForFinished(120000)) << "the import of a damaged Jet file does not end";
    const QString said = QString::fromUtf8(import.readAllStandardOutput() + import.readAllStandardError());
    EXPECT_EQ(import.exitCode(), 1);
    EXPECT_TRUE(
        said.contains(QStringLiteral("The round results file '") + hanging + QStringLiteral("' is damaged")))
        << said.toStdString();
    EXPECT_LT(said.size(), 4096);
    EXPECT_EQ(runCli({QStringLiteral("show"), db, QStringLiteral("sysRounds"), QStringLiteral("--all")}).out,
              before);
    EXPECT_EQ(QDir(app.path()).entryList({QStringLiteral("*.mdb*")}, QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Auction12.mdb")});
}

// The bound itself: work that does not end, that prints without end or that
// crashes is stopped and told apart from work that ends.
TEST(JetHangTest, BoundedWorkEndsWhicheverWayItGoes)
{
    using namespace std::chrono_literals;
    using store::jet::BoundedEnd;
    using store::jet::runBounded;
    EXPECT_EQ(runBounded([] { std::fputs("a warning\n", stderr); }, 30s, 1024), BoundedEnd::Finished);
    EXPECT_EQ(runBounded([] { throw Error(err::NotADatabase, QStringLiteral("damaged")); }, 30s, 1024),
              BoundedEnd::Finished);
    EXPECT_EQ(runBounded(
                  [] {
                      for (;;)
                          ::usleep(1000);
                  },
                  300ms, 1024),
              BoundedEnd::TooLong);
    EXPECT_EQ(runBounded(
                  [] {
                      for (;;)
                          std::fputs("Warning: again\n", stderr);
                  },
                  30s, 64 * 1024),
              BoundedEnd::TooLoud);
    EXPECT_EQ(runBounded([] { ::kill(::getpid(), SIGKILL); }, 30s, 1024), BoundedEnd::Crashed);
}
