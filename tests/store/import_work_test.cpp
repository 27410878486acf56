// An import does the copying it must and little else: no statement that
// only repeats work already done, and no file left behind.
#include "import_test_fixture.h"

#include "store/auction_schema.h"
#include "store/import/round_import.h"
#include "support/query_plan.h"
#include "support/statement_log.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace qv;
using namespace qv::test;

namespace {

QStringList roundIndexes(sqlite3* db)
{
    QStringList names;
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(
        db, "SELECT name FROM sqlite_master WHERE type = 'index' AND substr(name, 1, 9) = 'qv_round:'", -1,
        &s, nullptr);
    while (sqlite3_step(s) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
    sqlite3_finalize(s);
    names.sort();
    return names;
}

} // namespace

TEST_F(ImportTest, ARoundIsCopiedWithoutRepeatedWorkAndLeavesNoFile)
{
    generate(3);
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    const QStringList tables = column(QStringLiteral("SELECT TableName FROM sysSuppliedTables"));
    ASSERT_FALSE(tables.isEmpty());
    // What a run killed while it extracted a round leaves behind goes; files
    // of the user's beside the auction stay, whatever their names.
    QFile(app.file(QStringLiteral(".qv-round.05_002.mdb.99999999.part"))).open(QIODevice::WriteOnly);
    const QStringList users{QStringLiteral("Auction5.mdb.20261207"), QStringLiteral("Auction5.mdb.building"),
                            QStringLiteral("05_002.mdb.99999999")};
    for (const QString& name : users)
        QFile(app.file(name)).open(QIODevice::WriteOnly);
    ino_t lastFolderFile = 0;
    for (const QString& name : {QStringLiteral("05_002.zip"), QStringLiteral("05_002.zip")}) {
        StatementLog log(db().handle());
        ASSERT_TRUE(import(name));
        // The remembered folder is written again only when it changes.
        struct stat written {};
        ASSERT_EQ(::stat(QFile::encodeName(session().LastImportFile).constData(), &written), 0);
        EXPECT_TRUE(lastFolderFile == 0 || written.st_ino == lastFolderFile);
        lastFolderFile = written.st_ino;
        // The round's one transaction makes the copy all-or-nothing by itself.
        EXPECT_EQ(log.matching(QStringLiteral("SAVEPOINT")), QStringList());
        EXPECT_EQ(log.matching(QStringLiteral("CREATE INDEX")), QStringList());
        // Every table is copied by one statement, and the columns of all
        // tables of each database are read once for the checks and the copy
        // together.
        EXPECT_EQ(log.matching(QStringLiteral("FROM qv_source.")).size(), tables.size());
        EXPECT_LE(log.matching(QStringLiteral("pragma_table_info(m.name, 'main')")).size(), 1)
            << log.statements.join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(log.matching(QStringLiteral("pragma_table_info(m.name, 'qv_source')")).size(), 1);
        // The round is checked through the auction's connection: no
        // connection of its own is opened for it.
        EXPECT_EQ(log.matching(QStringLiteral("\"qv_source\".quick_check")).size(), 1);
        EXPECT_EQ(appFiles(), QStringList{QStringLiteral("05_002.mdb.99999999")} +
                                  QStringList{QStringLiteral("Auction5.mdb")} + users.mid(0, 2));
    }
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Markets] WHERE [Round] = 2")), 24);
    EXPECT_EQ(count(QStringLiteral("sysRounds")), 2);
    // A round from another folder is remembered as that folder.
    TempDir elsewhere;
    generate(3, 5, false, elsewhere.path());
    prompter.files.push_back(elsewhere.file(QStringLiteral("05_003.zip")));
    ASSERT_TRUE(ImportRound(host, false));
    EXPECT_EQ(readFile(session().LastImportFile), elsewhere.path().toUtf8() + "/\r\n");
}

TEST_F(ImportTest, RoundIndexesAreMadeAtCreationAndRestoredOnlyWhenMissing)
{
    generate(2);
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    const QStringList made = roundIndexes(db().handle());
    // [Markets] is searched by round through its licence index alone.
    EXPECT_FALSE(made.contains(QStringLiteral("qv_round:Markets")));
    EXPECT_TRUE(made.contains(QStringLiteral("qv_round:All Bids")));
    EXPECT_TRUE(made.contains(store::schema::MarketsLicenceIndex));
    {
        // Opening an auction that has them adds no statement that writes.
        StatementLog log(db().handle());
        store::schema::ensureRoundIndexes(db());
        EXPECT_EQ(log.matching(QStringLiteral("CREATE")), QStringList());
        EXPECT_EQ(log.matching(QStringLiteral("DROP")), QStringList());
    }
    CloseAuctionDatabase();

    const QString oldRoundIndex = QStringLiteral("CREATE INDEX \"qv_round:Markets\" ON Markets (Round)");
    const QString noLicenceIndex = QStringLiteral("DROP INDEX \"qv_round:Markets:License Name\"");
    const struct {
        const char* auction;
        QStringList statements;
        QStringList added; // indexes beside those made, once opened
    } cases[] = {
        {"made before the indexes existed",
         {QStringLiteral("DROP INDEX \"qv_round:All Bids\""), noLicenceIndex},
         {}},
        {"made with the [Round] index of [Markets]", {oldRoundIndex}, {}},
        {"made before the licence index existed", {oldRoundIndex, noLicenceIndex}, {}},
        // Indexes of another making keep their place, whatever their name.
        {"with an index of its user's under the same name",
         {QStringLiteral("CREATE INDEX \"qv_round:Markets\" ON Markets (Round, [High Bidder])")},
         {QStringLiteral("qv_round:Markets")}},
        {"with its user's own [Round] index",
         {QStringLiteral("CREATE INDEX \"qv_round:Markets by round\" ON Markets (Round)")},
         {QStringLiteral("qv_round:Markets by round")}},
    };
    const QString pristine = app.file(QStringLiteral("pristine.mdb"));
    ASSERT_TRUE(QFile::copy(auctionPath(), pristine));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.auction);
        QFile::remove(auctionPath());
        ASSERT_TRUE(QFile::copy(pristine, auctionPath()));
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(auctionPath()).constData(), &raw), SQLITE_OK);
        for (const QString& sql : c.statements)
            ASSERT_EQ(sqlite3_exec(raw, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        const QStringList before = roundIndexes(raw);
        sqlite3_close(raw);

        // A file that cannot be written opens as it is (the superuser writes any file).
        if (geteuid() != 0) {
            QFile::setPermissions(auctionPath(), QFileDevice::ReadOwner);
            OpenAuctionDatabase(auctionPath());
            EXPECT_EQ(roundIndexes(db().handle()), before);
            CloseAuctionDatabase();
            QFile::setPermissions(auctionPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }

        OpenAuctionDatabase(auctionPath());
        QStringList expected = made + c.added;
        expected.sort();
        EXPECT_EQ(roundIndexes(db().handle()), expected);
        CloseAuctionDatabase();
    }

    // The licence index has the columns the join needs, in that order.
    QFile::remove(auctionPath());
    ASSERT_TRUE(QFile::copy(pristine, auctionPath()));
    OpenAuctionDatabase(auctionPath());
    QStringList indexed;
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db().handle(),
                       "SELECT name FROM pragma_index_info('qv_round:Markets:License Name') ORDER BY seqno",
                       -1, &s, nullptr);
    while (sqlite3_step(s) == SQLITE_ROW)
        indexed << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
    sqlite3_finalize(s);
    EXPECT_EQ(indexed, (QStringList{QStringLiteral("Round"), QStringLiteral("License Name")}));

    // Every search of [Markets] by round an import makes goes straight to the
    // round's rows: the old rows' delete of a round imported again.
    StatementLog log(db().handle());
    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    const QStringList byRound = log.matching(QStringLiteral("\"Markets\" WHERE"));
    ASSERT_FALSE(byRound.isEmpty()) << log.statements.join(QLatin1Char('\n')).toStdString();
    for (const QString& sql : byRound) {
        const QStringList plan = queryPlan(db().handle(), sql);
        EXPECT_EQ(tableScans(plan), QStringList()) << sql.toStdString();
        EXPECT_TRUE(plan.join(QLatin1Char(' ')).contains(store::schema::MarketsLicenceIndex))
            << sql.toStdString();
    }
}

TEST_F(ImportTest, ABatchReadsARoundsColumnsAgainOnlyWhenItsSchemaDiffers)
{
    generate(4);
    rewriteRound(QStringLiteral("05_004.zip"),
                 {QStringLiteral("ALTER TABLE \"Bidders\" DROP COLUMN \"Activity\"")});
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    // As a batch does: the auction's tables read once for all its rounds.
    const AuctionTables tables(db());
    StatementLog log(db().handle());
    for (int round : {2, 3, 4})
        ASSERT_TRUE(importRoundFile(prompter, db(), zip(QStringLiteral("05_00%1.zip").arg(round)), round,
                                    RoundRows::Add, &tables));
    // Rounds 2 and 3 are made alike; round 4, without a column, is read anew
    // and its rows come in without it.
    EXPECT_EQ(log.matching(QStringLiteral("pragma_table_info(m.name, 'qv_source')")).size(), 2);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Bidders] WHERE [Round] = 4 AND [Activity] IS NULL")),
              count(QStringLiteral("SELECT * FROM [Bidders] WHERE [Round] = 4")));
    EXPECT_GT(count(QStringLiteral("SELECT * FROM [Bidders] WHERE [Round] = 4")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Bidders] WHERE [Round] = 3 AND [Activity] IS NULL")), 0);
}
