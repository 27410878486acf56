#include "common/error.h"
#include "store/sample/sample_auction.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <zip.h>

#include <memory>

#include "support/qt_printers.h"
#include "support/temp_dir.h"

using namespace qv;
using namespace qv::store::sample;

namespace {

const QStringList suppliedTables = {
    QStringLiteral("Round Statistics"),
    QStringLiteral("All Bids"),
    QStringLiteral("Markets"),
    QStringLiteral("Bidders"),
    QStringLiteral("Bidders Raising Own High Bid"),
    QStringLiteral("Bidders Who Reduced"),
    QStringLiteral("Withdrawal Statistics"),
    QStringLiteral("Increment Statistics"),
    QStringLiteral("Waiver Statistics"),
    QStringLiteral("Miscellaneous Statistics"),
    QStringLiteral("Reduction Statistics"),
};

QStringList zipMembers(const QString& zipPath)
{
    QStringList names;
    zip_t* archive = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY, nullptr);
    if (archive == nullptr)
        return names;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i)
        names << QString::fromUtf8(zip_get_name(archive, static_cast<zip_uint64_t>(i), 0));
    zip_discard(archive);
    return names;
}

QByteArray zipMember(const QString& zipPath, const QString& name)
{
    QByteArray bytes;
    zip_t* archive = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY, nullptr);
    if (archive == nullptr)
        return bytes;
    zip_stat_t stat;
    if (zip_stat(archive, name.toUtf8().constData(), 0, &stat) == 0) {
        zip_file_t* member = zip_fopen(archive, name.toUtf8().constData(), 0);
        if (member != nullptr) {
            bytes.resize(static_cast<qsizetype>(stat.size));
            if (zip_fread(member, bytes.data(), stat.size) != static_cast<zip_int64_t>(stat.size))
                bytes.clear();
            zip_fclose(member);
        }
    }
    zip_discard(archive);
    return bytes;
}

// One round database, extracted from its archive and opened read-only.
class RoundDatabase {
public:
    RoundDatabase(const QString& zipPath, const QString& scratchFolder)
    {
        const QString base = QFileInfo(zipPath).completeBaseName();
        path_ = QDir(scratchFolder).filePath(base + QStringLiteral(".mdb"));
        QFile file(path_);
        if (file.open(QIODevice::WriteOnly))
            file.write(zipMember(zipPath, base + QStringLiteral(".mdb")));
        file.close();
        if (sqlite3_open_v2(QFile::encodeName(path_).constData(), &db_, SQLITE_OPEN_READONLY, nullptr) !=
            SQLITE_OK) {
            sqlite3_close(db_);
            db_ = nullptr;
        }
    }
    ~RoundDatabase()
    {
        sqlite3_close(db_);
        QFile::remove(path_);
    }

    bool isOpen() const { return db_ != nullptr; }

    // Every row of a query, each value as the engine stored it.
    std::vector<QVariantList> rows(const QString& sql) const
    {
        std::vector<QVariantList> result;
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << "cannot run " << sql.toStdString() << ": " << sqlite3_errmsg(db_);
            return result;
        }
        while (sqlite3_step(statement) == SQLITE_ROW) {
            QVariantList row;
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                switch (sqlite3_column_type(statement, i)) {
                case SQLITE_INTEGER:
                    row << QVariant(static_cast<qint64>(sqlite3_column_int64(statement, i)));
                    break;
                case SQLITE_FLOAT:
                    row << QVariant(sqlite3_column_double(statement, i));
                    break;
                case SQLITE_NULL:
                    row << QVariant();
                    break;
                default:
                    row << QVariant(
                        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, i))));
                }
            }
            result.push_back(row);
        }
        sqlite3_finalize(statement);
        return result;
    }

    QVariant value(const QString& sql) const
    {
        const std::vector<QVariantList> all = rows(sql);
        return all.empty() || all.front().isEmpty() ? QVariant() : all.front().front();
    }

    qint64 number(const QString& sql) const { return value(sql).toLongLong(); }

    // Tables in the order they were created.
    QStringList tables() const
    {
        QStringList names;
        for (const QVariantList& row :
             rows(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                 "ORDER BY rowid")))
            names << row.front().toString();
        return names;
    }

private:
    QString path_;
    sqlite3* db_ = nullptr;
};

SampleOptions eventfulOptions()
{
    SampleOptions options;
    options.auction = 7;
    options.rounds = 30;
    options.licenses = 160;
    options.bidders = 24;
    options.seed = 3;
    return options;
}

// One generated auction shared by the tests that only read it.
class SampleAuctionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = new test::TempDir;
        options = eventfulOptions();
        archives = new QStringList(writeSampleAuction(folder->file(QStringLiteral("rounds")), options));
    }
    static void TearDownTestSuite()
    {
        delete archives;
        delete folder;
    }

    std::unique_ptr<RoundDatabase> open(int round) const
    {
        auto db = std::make_unique<RoundDatabase>(archives->at(round - 1), folder->path());
        EXPECT_TRUE(db->isOpen()) << "round " << round;
        return db;
    }

    static test::TempDir* folder;
    static SampleOptions options;
    static QStringList* archives;
};

test::TempDir* SampleAuctionTest::folder = nullptr;
SampleOptions SampleAuctionTest::options;
QStringList* SampleAuctionTest::archives = nullptr;

TEST_F(SampleAuctionTest, WritesOneArchivePerRoundHoldingOnlyItsDatabase)
{
    ASSERT_EQ(archives->size(), options.rounds);
    const QString rounds = folder->file(QStringLiteral("rounds"));
    for (int round = 1; round <= options.rounds; ++round) {
        const QString base = QStringLiteral("07_%1").arg(round, 3, 10, QLatin1Char('0'));
        EXPECT_EQ(archives->at(round - 1), QDir(rounds).filePath(base + QStringLiteral(".zip")));
        EXPECT_EQ(zipMembers(archives->at(round - 1)), QStringList{base + QStringLiteral(".mdb")});
    }
    // Nothing but the archives is left in the folder.
    EXPECT_EQ(QDir(rounds).entryList(QDir::Files).size(), options.rounds);
}

TEST_F(SampleAuctionTest, StoresValuesWithTheirOwnTypes)
{
    const auto db = open(2);
    EXPECT_EQ(db->value(QStringLiteral("SELECT typeof([Round Date]) FROM [Round Statistics]")),
              QVariant(QStringLiteral("text")));
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"))
            .match(db->value(QStringLiteral("SELECT [Round Date] FROM [Round Statistics]")).toString())
            .hasMatch());
    // CURRENCY columns have numeric affinity: whole dollars come back as integers, never as text.
    EXPECT_EQ(db->number(
                  QStringLiteral("SELECT count(*) FROM [All Bids] WHERE typeof([Gross Bid Amount]) NOT IN "
                                 "('integer', 'real') OR typeof([Net Bid Amount]) NOT IN ('integer', 'real') "
                                 "OR typeof([Round]) <> 'integer'")),
              0);
    // Account numbers keep their leading zeros.
    const std::vector<QVariantList> accounts =
        db->rows(QStringLiteral("SELECT [Zelnar Acct] FROM [Bidders]"));
    ASSERT_EQ(accounts.size(), static_cast<size_t>(options.bidders));
    for (const QVariantList& row : accounts) {
        EXPECT_EQ(row.front().typeId(), QMetaType::QString);
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^0\\d{9}$")).match(row.front().toString()).hasMatch())
            << row.front().toString().toStdString();
    }
}

TEST_F(SampleAuctionTest, HoldsEachRoundsRowsAndTheWithdrawalsToDate)
{
    qint64 withdrawalsBefore = 0;
    for (int round = 1; round <= options.rounds; ++round) {
        SCOPED_TRACE(round);
        const auto db = open(round);
        const QString r = QString::number(round);
        for (const QString& table : suppliedTables) {
            if (table == QLatin1String("Withdrawal Statistics"))
                continue;
            EXPECT_EQ(
                db->number(QStringLiteral("SELECT count(*) FROM [%1] WHERE [Round] IS NOT %2").arg(table, r)),
                0)
                << table.toStdString();
        }
        for (const QString& table :
             {QStringLiteral("Round Statistics"), QStringLiteral("All Bids"), QStringLiteral("Markets")})
            EXPECT_EQ(db->number(
                          QStringLiteral("SELECT count(*) FROM [%1] WHERE [Auction ID] IS NOT 7").arg(table)),
                      0);
        EXPECT_EQ(db->number(QStringLiteral("SELECT count(*) FROM [Round Statistics]")), 1);
        EXPECT_EQ(db->number(QStringLiteral("SELECT count(*) FROM [Markets]")), options.licenses);
        EXPECT_EQ(db->number(QStringLiteral("SELECT count(DISTINCT [License Name]) FROM [Markets]")),
                  options.licenses);
        EXPECT_EQ(db->number(QStringLiteral("SELECT count(*) FROM [Bidders]")), options.bidders);
        EXPECT_EQ(db->number(QStringLiteral("SELECT count(*) FROM [Increment Statistics]")), 3);
        EXPECT_EQ(db->number(QStringLiteral("SELECT count(*) FROM [Miscellaneous Statistics]")), 1);
        EXPECT_EQ(db->number(QStringLiteral("SELECT count(*) FROM [Reduction Statistics]")), 1);

        // Withdrawals accumulate, numbered from 1, each in a round so far.
        const qint64 withdrawals = db->number(QStringLiteral("SELECT count(*) FROM [Withdrawal Statistics]"));
        EXPECT_EQ(withdrawals - withdrawalsBefore,
                  db->number(QStringLiteral("SELECT [Withdrawals] FROM [Round Statistics]")));
        EXPECT_EQ(db->number(QStringLiteral("SELECT coalesce(max([Withdrawal Number]), 0) FROM "
                                            "[Withdrawal Statistics]")),
                  withdrawals);
        EXPECT_EQ(db->number(QStringLiteral(
                                 "SELECT count(*) FROM [Withdrawal Statistics] WHERE [Withdrawal Round] > ") +
                             r),
                  0);
        withdrawalsBefore = withdrawals;
    }
    EXPECT_GT(withdrawalsBefore, 0) << "the sample auction should show withdrawals";
}

TEST_F(SampleAuctionTest, BidsNameLicencesAsMarketsDoes)
{
    for (const int round : {1, 15, options.rounds}) {
        SCOPED_TRACE(round);
        const auto db = open(round);
        EXPECT_GT(db->number(QStringLiteral("SELECT count(*) FROM [All Bids]")), 0);
        EXPECT_EQ(
            db->number(QStringLiteral(
                "SELECT count(*) FROM [All Bids] a WHERE NOT EXISTS (SELECT 1 FROM [Markets] m WHERE "
                "m.[License Name] = a.[License Name] AND m.[Auction ID] = a.[Auction ID] AND m.[Round] = "
                "a.[Round] AND m.[Market] = a.[Market] AND m.[Block] = a.[Block] AND m.[Submarket] = "
                "a.[Submarket])")),
            0);
        EXPECT_EQ(db->number(QStringLiteral("SELECT count(*) FROM [All Bids] a JOIN [Bidders] b ON "
                                            "a.[Bidder] = b.[Bidder] AND a.[Zelnar Acct] = b.[Zelnar Acct]")),
                  db->number(QStringLiteral("SELECT count(*) FROM [All Bids]")));
    }
}

TEST_F(SampleAuctionTest, RoundStatisticsAgreeWithTheRoundsTables)
{
    qint64 netBefore = 0;
    for (int round = 1; round <= options.rounds; ++round) {
        SCOPED_TRACE(round);
        const auto db = open(round);
        const std::vector<QVariantList> stats = db->rows(QStringLiteral(
            "SELECT [Net Bids], [Gross Bids], [Dollar Change in Net Bids], [New Bids], [Total High Bids], "
            "[Zelnar Held Licenses], [Eligible Bidders], [Waivers], [Number Reduced] FROM [Round "
            "Statistics]"));
        ASSERT_EQ(stats.size(), 1u);
        const QVariantList& s = stats.front();
        const qint64 net = s[0].toLongLong();
        EXPECT_EQ(net, db->number(QStringLiteral("SELECT coalesce(sum([Net High Bid]), 0) FROM [Markets]")));
        EXPECT_EQ(s[1].toLongLong(),
                  db->number(QStringLiteral("SELECT coalesce(sum([High Bid]), 0) FROM [Markets]")));
        EXPECT_EQ(s[2].toLongLong(), net - netBefore);
        EXPECT_EQ(s[3].toLongLong(), db->number(QStringLiteral("SELECT count(*) FROM [All Bids]")));
        EXPECT_EQ(s[4].toLongLong(), db->number(QStringLiteral(
                                         "SELECT count(*) FROM [Markets] WHERE [High Bidder] IS NOT NULL")));
        EXPECT_EQ(s[5].toLongLong(),
                  db->number(QStringLiteral("SELECT count(*) FROM [Markets] WHERE [Zelnar Held] = 'Y'")));
        EXPECT_EQ(s[6].toLongLong(), db->number(QStringLiteral(
                                         "SELECT count(*) FROM [Bidders] WHERE [Current Eligibility] > 0")));
        EXPECT_EQ(s[7].toLongLong(), db->number(QStringLiteral("SELECT count(*) FROM [Waiver Statistics]")));
        EXPECT_EQ(s[8].toLongLong(),
                  db->number(QStringLiteral("SELECT count(*) FROM [Bidders Who Reduced]")));
        // Net is gross less the bidder's credit; a new high bid is the licence's best bid.
        EXPECT_EQ(db->number(QStringLiteral("SELECT count(*) FROM [All Bids] WHERE abs([Net Bid Amount] - "
                                            "[Gross Bid Amount] * (100 - [Bidding Credit]) / 100) > 0.5")),
                  0);
        EXPECT_EQ(
            db->number(QStringLiteral(
                "SELECT count(*) FROM [All Bids] a JOIN [Markets] m ON a.[License Name] = m.[License Name] "
                "WHERE a.[New High Bid] = 'Y' AND (m.[High Bid] IS NOT a.[Gross Bid Amount] OR "
                "m.[High Bidder] IS NOT a.[Bidder] OR m.[Round of High Bid] IS NOT a.[Round])")),
            0);
        netBefore = net;
    }
}

TEST_F(SampleAuctionTest, StagesAndBiddingDaysAdvance)
{
    std::vector<qint64> stages;
    QStringList dates;
    qint64 multiIncrement = 0;
    qint64 waivers = 0;
    qint64 reductions = 0;
    for (int round = 1; round <= options.rounds; ++round) {
        const auto db = open(round);
        stages.push_back(db->number(QStringLiteral("SELECT [Stage] FROM [Round Statistics]")));
        dates << db->value(QStringLiteral("SELECT [Round Date] FROM [Round Statistics]")).toString();
        multiIncrement +=
            db->number(QStringLiteral("SELECT count(*) FROM [All Bids] WHERE [Increments of Bid] > 1"));
        waivers += db->number(QStringLiteral("SELECT [Waivers] FROM [Round Statistics]"));
        reductions += db->number(QStringLiteral("SELECT [Number Reduced] FROM [Round Statistics]"));
    }
    EXPECT_EQ(stages.front(), 1);
    EXPECT_EQ(stages.back(), 3);
    EXPECT_TRUE(std::is_sorted(stages.begin(), stages.end()));
    EXPECT_TRUE(std::find(stages.begin(), stages.end(), 2) != stages.end());
    EXPECT_TRUE(std::is_sorted(dates.begin(), dates.end()));
    // Several rounds a day, over several days.
    QStringList days = dates;
    days.removeDuplicates();
    EXPECT_GT(days.size(), 3);
    EXPECT_LT(days.size(), dates.size());
    EXPECT_GT(multiIncrement, 0);
    EXPECT_GT(waivers, 0);
    EXPECT_GT(reductions, 0);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(SampleAuction, SameSeedGivesTheSameFilesAndAnotherSeedOtherData)
{
    test::TempDir dir;
    SampleOptions options;
    options.rounds = 4;
    const QStringList first = writeSampleAuction(dir.file(QStringLiteral("a")), options);
    const QStringList second = writeSampleAuction(dir.file(QStringLiteral("b")), options);
    options.seed = 2;
    const QStringList other = writeSampleAuction(dir.file(QStringLiteral("c")), options);
    ASSERT_EQ(first.size(), 4);
    ASSERT_EQ(second.size(), 4);
    ASSERT_EQ(other.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(fileBytes(first[i]).isEmpty());
        EXPECT_EQ(fileBytes(first[i]), fileBytes(second[i])) << first[i].toStdString();
        EXPECT_NE(zipMember(first[i], QFileInfo(first[i]).completeBaseName() + QStringLiteral(".mdb")),
                  zipMember(other[i], QFileInfo(other[i]).completeBaseName() + QStringLiteral(".mdb")));
    }
}

TEST(SampleAuction, EngineTablesAreAddedOnRequest)
{
    test::TempDir dir;
    SampleOptions options;
    options.rounds = 2;
    options.engineTables = true;
    const QStringList archives = writeSampleAuction(dir.path(), options);
    ASSERT_EQ(archives.size(), 2);
    const RoundDatabase db(archives[1], dir.path());
    ASSERT_TRUE(db.isOpen());
    const QStringList extra = {QStringLiteral("MSysObjects"), QStringLiteral("sysX"), QStringLiteral("SysY")};
    EXPECT_EQ(db.tables(), suppliedTables + extra);
    EXPECT_EQ(db.number(QStringLiteral("SELECT [Round] FROM [SysY]")), 2);
}

TEST(SampleAuction, RefusesOptionsItCannotNameFilesFor)
{
    test::TempDir dir;
    const QString folder = dir.file(QStringLiteral("none"));
    for (const auto& [auction, rounds] :
         {std::pair{0, 3}, std::pair{100, 3}, std::pair{5, 0}, std::pair{5, 1000}}) {
        SampleOptions options;
        options.auction = auction;
        options.rounds = rounds;
        EXPECT_FALSE(sampleOptionsProblem(options).isEmpty());
        EXPECT_THROW(writeSampleAuction(folder, options), Error);
    }
    EXPECT_FALSE(QFileInfo::exists(folder));
}

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun runCli(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(QV_CLI_PATH), QStringList{QStringLiteral("sample")} + args);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(SampleCommand, WritesTheFilesAndSaysHowMany)
{
    test::TempDir dir;
    const CliRun run = runCli({dir.path(), QStringLiteral("--auction"), QStringLiteral("12"),
                               QStringLiteral("--rounds"), QStringLiteral("3"), QStringLiteral("--licenses"),
                               QStringLiteral("16"), QStringLiteral("--bidders"), QStringLiteral("4"),
                               QStringLiteral("--seed"), QStringLiteral("9")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("Wrote 3 round results files to %1\n").arg(dir.path()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("12_001.zip"), QStringLiteral("12_002.zip"),
                           QStringLiteral("12_003.zip")}));
}

TEST(SampleCommand, BadArgumentsExitWithTwo)
{
    test::TempDir dir;
    const QList<QStringList> bad = {
        {},
        {dir.path(), QStringLiteral("--rounds")},
        {dir.path(), QStringLiteral("--rounds"), QStringLiteral("ten")},
        {dir.path(), QStringLiteral("--auction"), QStringLiteral("123")},
        {dir.path(), QStringLiteral("--colour"), QStringLiteral("1")},
        {dir.path(), dir.file(QStringLiteral("second"))},
    };
    for (const QStringList& args : bad) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

} // namespace
