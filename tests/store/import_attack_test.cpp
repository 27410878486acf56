// Round results files and machines that misbehave: what a hostile file, a
// killed run, a full disk or another program on the auction must not do.
#include "import_test_fixture.h"

#include "support/scratch_volume.h"

#include <QFileInfo>

#include <unistd.h>

using namespace qv;
using namespace qv::test;

namespace {

QStringList integrityOf(const QString& path)
{
    sqlite3* raw = nullptr;
    QStringList verdict;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(raw, "PRAGMA integrity_check", -1, &s, nullptr) == SQLITE_OK)
            while (sqlite3_step(s) == SQLITE_ROW)
                verdict << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
        sqlite3_finalize(s);
    }
    sqlite3_close(raw);
    return verdict;
}

// The last message shown, which must be an error naming all of parts.
void expectErrorNaming(const ScriptedPrompter& prompter, const QStringList& parts)
{
    ASSERT_FALSE(prompter.messages.empty());
    const auto& m = prompter.messages.back();
    EXPECT_TRUE(m.isError) << m.text.toStdString();
    for (const QString& part : parts)
        EXPECT_TRUE(m.text.contains(part)) << m.text.toStdString() << " lacks " << part.toStdString();
}

} // namespace

TEST_F(ImportTest, TriggersAndViewsOfTheFirstRoundNeverReachTheAuction)
{
    generate(3);
    rewriteRound(QStringLiteral("05_001.zip"),
                 {QStringLiteral("CREATE TRIGGER wipe AFTER INSERT ON \"Markets\" BEGIN DELETE FROM "
                                 "\"Round Statistics\" WHERE \"Round\" = 1; END"),
                  QStringLiteral("CREATE TRIGGER early AFTER DELETE ON \"Withdrawal Statistics\" BEGIN "
                                 "DELETE FROM \"Markets\"; END"),
                  QStringLiteral("CREATE VIEW \"Peek\" AS SELECT * FROM \"Markets\"")});
    prompter.files.push_back(zip(QStringLiteral("05_001.zip")));
    ASSERT_TRUE(BatchImportAuction(host));
    EXPECT_EQ(prompter.messages.back().text, QStringLiteral("Finished importing rounds 1 to 3."));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Round Statistics]")), 3);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Markets] WHERE [Round] = 1")), 24);
    EXPECT_EQ(column(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'view' OR (type = 'trigger' "
                                    "AND name NOT LIKE 'qv_pk*')")),
              QStringList());
    EXPECT_FALSE(column(QStringLiteral("SELECT TableName FROM sysTables")).contains(QStringLiteral("Peek")));
}

TEST_F(ImportTest, TableNamesFromRoundFilesAreNeverSql)
{
    const QString odd = QStringLiteral("a\"), (\"Round Statistics");
    const QString quotedOdd = QStringLiteral("\"a\"\"), (\"\"Round Statistics\"");
    generate(2);
    for (const char* name : {"05_001.zip", "05_002.zip"}) {
        const QString round =
            QString::fromLatin1(name).mid(3, 3).toInt() == 1 ? QStringLiteral("1") : QStringLiteral("2");
        rewriteRound(
            QString::fromLatin1(name),
            {QStringLiteral("CREATE TABLE ") + quotedOdd + QStringLiteral(" (\"Round\" LONG, v TEXT)"),
             QStringLiteral("INSERT INTO ") + quotedOdd + QStringLiteral(" VALUES (") + round +
                 QStringLiteral(", 'x''y')")});
    }
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    const QStringList supplied = column(QStringLiteral("SELECT TableName FROM sysSuppliedTables"));
    EXPECT_EQ(supplied.count(odd), 1);
    EXPECT_EQ(supplied.count(QStringLiteral("Round Statistics")), 1);
    EXPECT_EQ(supplied.size(), 12);
    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [") + odd + QStringLiteral("]")), 2);
    CloseAuctionDatabase();

    // A bracket, either one, cannot be carried by a statement: refused, naming the table.
    QFile::remove(auctionPath());
    for (const QString& name : {QStringLiteral("Bids]; DROP"), QStringLiteral("Bids[2")}) {
        generate(1, 6);
        rewriteRound(QStringLiteral("06_001.zip"),
                     {QStringLiteral("CREATE TABLE \"%1\" (\"Round\" LONG)").arg(name)});
        EXPECT_FALSE(create(QStringLiteral("06_001.zip")));
        expectErrorNaming(prompter,
                          {QStringLiteral("06_001.zip"), QLatin1Char('"') + name + QLatin1Char('"')});
        EXPECT_EQ(appFiles(), QStringList());
    }
}

TEST_F(ImportTest, SavedQueriesOverNamesWithQuotesRebuild)
{
    generate(3);
    rewriteRound(QStringLiteral("05_001.zip"), {});
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    db().execute(QStringLiteral("SELECT [Round], [Market] INTO [Bob's Bids] FROM [Markets]"));
    db().execute(QStringLiteral("INSERT INTO [sysTables] (TableName) VALUES ('Bob''s Bids')"));
    db().execute(QStringLiteral("INSERT INTO [sysQueryBuilder] ([Txt5], [Txt0], [Txt1], [Txt2]) VALUES "
                                "('q', '[Round], [Market]', '[Bob''s Bids]', '[Markets]')"));
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(import(i == 0 ? QStringLiteral("05_002.zip") : QStringLiteral("05_003.zip")));
        EXPECT_EQ(prompter.statusTexts.back(),
                  QStringLiteral("Completed Auto-Rebuilding Customized Table(s)!"));
    }
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Bob's Bids]")), 72);
    EXPECT_EQ(column(QStringLiteral("SELECT TableName FROM sysTables WHERE TableName = 'Bob''s Bids'")),
              QStringList{QStringLiteral("Bob's Bids")});
    for (const auto& m : prompter.messages)
        EXPECT_FALSE(m.isError) << m.text.toStdString();
}

TEST_F(ImportTest, RoundFilesMustCarryTheirRoundAndNumbers)
{
    // At creation: a supplied table without [Round] is refused before any
    // file is made; "Withdrawal Statistics" needs none.
    generate(3);
    rewriteRound(QStringLiteral("05_001.zip"), {QStringLiteral("CREATE TABLE \"Notes\" (\"Text\" TEXT)"),
                                                QStringLiteral("INSERT INTO \"Notes\" VALUES ('hello')")});
    EXPECT_FALSE(create(QStringLiteral("05_001.zip")));
    expectErrorNaming(prompter, {QStringLiteral("05_001.zip"), QStringLiteral("\"Notes\""),
                                 QStringLiteral("no Round column")});
    EXPECT_EQ(appFiles(), QStringList());

    // A Yes/No column is a number too: text in it is refused.
    generate(3);
    rewriteRound(QStringLiteral("05_001.zip"),
                 {QStringLiteral("CREATE TABLE \"Flags\" (\"Round\" LONG, \"Active\" YESNO)"),
                  QStringLiteral("INSERT INTO \"Flags\" VALUES (1, 'yes')")});
    EXPECT_FALSE(create(QStringLiteral("05_001.zip")));
    expectErrorNaming(prompter,
                      {QStringLiteral("\"Flags\""), QStringLiteral("\"Active\""), QStringLiteral("'yes'")});
    EXPECT_EQ(appFiles(), QStringList());

    generate(4);
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    const QStringList before = dump();

    // At import: a table that lost its [Round] ...
    rewriteRound(
        QStringLiteral("05_002.zip"),
        {QStringLiteral("CREATE TABLE m2 AS SELECT \"Auction ID\", \"License Name\", \"Market Name\", "
                        "\"Market\", \"Block\", \"Submarket\" FROM \"Markets\""),
         QStringLiteral("DROP TABLE \"Markets\""), QStringLiteral("ALTER TABLE m2 RENAME TO \"Markets\"")});
    EXPECT_FALSE(import(QStringLiteral("05_002.zip")));
    expectErrorNaming(prompter, {QStringLiteral("05_002.zip"), QStringLiteral("\"Markets\""),
                                 QStringLiteral("no Round column")});

    // ... text where a number belongs ...
    rewriteRound(QStringLiteral("05_003.zip"),
                 {QStringLiteral("UPDATE \"All Bids\" SET \"Gross Bid Amount\" = 'lots' WHERE rowid = "
                                 "(SELECT max(rowid) FROM \"All Bids\")")});
    EXPECT_FALSE(import(QStringLiteral("05_003.zip")));
    expectErrorNaming(prompter, {QStringLiteral("05_003.zip"), QStringLiteral("\"All Bids\""),
                                 QStringLiteral("\"Gross Bid Amount\""), QStringLiteral("'lots'")});

    // ... a number past every finite one (9e999 is stored as infinity) ...
    rewriteRound(QStringLiteral("05_003.zip"),
                 {QStringLiteral("UPDATE \"All Bids\" SET \"Gross Bid Amount\" = 9e999 WHERE \"Gross Bid "
                                 "Amount\" = 'lots'")});
    EXPECT_FALSE(import(QStringLiteral("05_003.zip")));
    expectErrorNaming(prompter, {QStringLiteral("05_003.zip"), QStringLiteral("\"All Bids\""),
                                 QStringLiteral("\"Gross Bid Amount\""), QStringLiteral("Inf")});

    // ... a column that the program reads, missing ...
    rewriteRound(QStringLiteral("05_003.zip"),
                 {QStringLiteral("UPDATE \"All Bids\" SET \"Gross Bid Amount\" = 1 WHERE \"Gross Bid "
                                 "Amount\" > 1e308"),
                  QStringLiteral("ALTER TABLE \"All Bids\" DROP COLUMN \"Bidder\"")});
    EXPECT_FALSE(import(QStringLiteral("05_003.zip")));
    expectErrorNaming(prompter, {QStringLiteral("05_003.zip"), QStringLiteral("\"All Bids\""),
                                 QStringLiteral("no column \"Bidder\"")});

    // ... and a round that is not a number is never read as round 0.
    rewriteRound(QStringLiteral("05_004.zip"),
                 {QStringLiteral("UPDATE \"Bidders\" SET \"Round\" = '12abc' WHERE rowid = 1")});
    EXPECT_FALSE(import(QStringLiteral("05_004.zip")));
    expectErrorNaming(prompter, {QStringLiteral("05_004.zip"), QStringLiteral("\"Bidders\""),
                                 QStringLiteral("\"Round\""), QStringLiteral("'12abc'")});
    EXPECT_FALSE(prompter.messages.back().text.contains(QStringLiteral("round 0")));

    // Text in a later table is told before a row of another round in an
    // earlier one; an empty [Round] is a row of no round. (Each rewrite
    // starts from the one before.)
    rewriteRound(QStringLiteral("05_004.zip"),
                 {QStringLiteral("UPDATE \"Round Statistics\" SET \"Round\" = 9"),
                  QStringLiteral("UPDATE \"Bidders\" SET \"Round\" = 'x' WHERE rowid = 1")});
    EXPECT_FALSE(import(QStringLiteral("05_004.zip")));
    expectErrorNaming(prompter, {QStringLiteral("\"Bidders\""), QStringLiteral("'x'")});
    rewriteRound(QStringLiteral("05_004.zip"),
                 {QStringLiteral("UPDATE \"Round Statistics\" SET \"Round\" = 4"),
                  QStringLiteral("UPDATE \"Bidders\" SET \"Round\" = 4 WHERE rowid = 1"),
                  QStringLiteral("UPDATE \"Bidders\" SET \"Round\" = NULL WHERE rowid = 2"),
                  QStringLiteral("UPDATE \"Markets\" SET \"Round\" = 7 WHERE rowid = 3")});
    EXPECT_FALSE(import(QStringLiteral("05_004.zip")));
    expectErrorNaming(prompter, {QStringLiteral("does not hold round 4 alone"), QStringLiteral("\"Markets\""),
                                 QStringLiteral("rows of round 7")});
    rewriteRound(QStringLiteral("05_004.zip"), {QStringLiteral("UPDATE \"Markets\" SET \"Round\" = 4")});
    EXPECT_FALSE(import(QStringLiteral("05_004.zip")));
    expectErrorNaming(prompter, {QStringLiteral("\"Bidders\""), QStringLiteral("rows of round (none)")});

    EXPECT_EQ(dump(), before);
    EXPECT_EQ(appFiles(), QStringList{QStringLiteral("Auction5.mdb")});
}

TEST_F(ImportTest, AJournalLeftByAKilledRunNeverSpoilsTheReplacement)
{
    generate(3);
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    CloseAuctionDatabase();

    // A journal of the old auction, as a run killed inside a write leaves it.
    const QString journal = auctionPath() + QStringLiteral("-journal");
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(auctionPath()).constData(), &raw), SQLITE_OK);
        sqlite3_exec(raw, "PRAGMA cache_size = 1; BEGIN; DELETE FROM \"All Bids\"; DELETE FROM \"Markets\";",
                     nullptr, nullptr, nullptr);
        ASSERT_TRUE(QFileInfo(journal).size() > 0);
        ASSERT_TRUE(QFile::copy(journal, app.file(QStringLiteral("saved-journal"))));
        sqlite3_exec(raw, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(raw);
    }
    for (bool batch : {false, true}) {
        QFile::remove(journal);
        ASSERT_TRUE(QFile::copy(app.file(QStringLiteral("saved-journal")), journal));
        prompter.answers.push_back(Answer::Yes);
        prompter.files.push_back(zip(QStringLiteral("05_001.zip")));
        ASSERT_TRUE(batch ? BatchImportAuction(host) : CreateAuction(host));
        EXPECT_EQ(count(QStringLiteral("sysRounds")), batch ? 3 : 1);
        EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Markets] WHERE [Round] = 1")), 24);
        CloseAuctionDatabase();
        EXPECT_FALSE(QFileInfo::exists(journal));
        EXPECT_EQ(integrityOf(auctionPath()), QStringList{QStringLiteral("ok")});
        OpenAuctionDatabase(auctionPath());
        EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Markets] WHERE [Round] = 1")), 24);
        CloseAuctionDatabase();
    }
    // A half-built auction left by a killed creation is cleared away; a
    // user's file of a like name is not.
    QFile(app.file(QStringLiteral(".qv-building.Auction5.mdb.99999999"))).open(QIODevice::WriteOnly);
    QFile(app.file(QStringLiteral("Auction5.mdb.building"))).open(QIODevice::WriteOnly);
    prompter.answers.push_back(Answer::Yes);
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    EXPECT_FALSE(QFileInfo::exists(app.file(QStringLiteral(".qv-building.Auction5.mdb.99999999"))));
    EXPECT_TRUE(QFileInfo::exists(app.file(QStringLiteral("Auction5.mdb.building"))));
}

TEST_F(ImportTest, DamagedAndUnreadableArchivesAreNamedForWhatTheyAre)
{
    generate(4);
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    const QStringList before = dump();

    // A member whose pages are damaged past its header.
    QByteArray member = memberOf(zip(QStringLiteral("05_002.zip")));
    for (qsizetype i = 4096 + 100; i < member.size(); i += 7)
        member[i] = char(0x5a);
    writeZip(zip(QStringLiteral("05_002.zip")), QStringLiteral("05_002.mdb"), member);
    EXPECT_FALSE(import(QStringLiteral("05_002.zip")));
    expectErrorNaming(
        prompter, {QStringLiteral("Error:3343 "), QStringLiteral("05_002.zip"), QStringLiteral("damaged")});
    EXPECT_FALSE(prompter.messages.back().text.contains(QStringLiteral("SELECT")));

    // A compression method nobody here reads: the archive is not damaged.
    QByteArray bytes = readFile(zip(QStringLiteral("05_003.zip")));
    for (const char* signature : {"PK\x03\x04", "PK\x01\x02"}) {
        const qsizetype at = bytes.indexOf(QByteArray(signature, 4));
        ASSERT_GE(at, 0);
        const qsizetype method = at + (signature[2] == '\x03' ? 8 : 10);
        bytes[method] = char(99 - 2); // 97: WavPack
        bytes[method + 1] = 0;
    }
    QFile patched(zip(QStringLiteral("05_003.zip")));
    ASSERT_TRUE(patched.open(QIODevice::WriteOnly));
    patched.write(bytes);
    patched.close();
    EXPECT_FALSE(import(QStringLiteral("05_003.zip")));
    expectErrorNaming(prompter, {QStringLiteral("05_003.zip"), QStringLiteral("compressed with a method")});
    EXPECT_FALSE(prompter.messages.back().text.contains(QStringLiteral("damaged")));

    // A member that declares 2 GB: damaged, not a full disk to wait for.
    bytes = readFile(zip(QStringLiteral("05_004.zip")));
    for (const char* signature : {"PK\x03\x04", "PK\x01\x02"}) {
        const qsizetype at = bytes.indexOf(QByteArray(signature, 4));
        ASSERT_GE(at, 0);
        const QByteArray twoGigabytes("\x00\x00\x00\x80", 4);
        bytes.replace(at + (signature[2] == '\x03' ? 22 : 24), 4, twoGigabytes);
    }
    QFile lying(zip(QStringLiteral("05_004.zip")));
    ASSERT_TRUE(lying.open(QIODevice::WriteOnly));
    lying.write(bytes);
    lying.close();
    EXPECT_FALSE(import(QStringLiteral("05_004.zip")));
    expectErrorNaming(prompter, {QStringLiteral("05_004.zip"), QStringLiteral("damaged"),
                                 QStringLiteral("declares 2147483648 bytes")});
    EXPECT_FALSE(prompter.messages.back().text.contains(QStringLiteral("Disk full")));

    EXPECT_EQ(dump(), before);
    EXPECT_EQ(appFiles(), QStringList{QStringLiteral("Auction5.mdb")});
}

TEST_F(ImportTest, AnAuctionHeldByAnotherProgramIsNamedAfterWaiting)
{
    generate(2);
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    const QStringList before = dump();
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(auctionPath()).constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_FALSE(import(QStringLiteral("05_002.zip")));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    expectErrorNaming(prompter, {QStringLiteral("Error:3045 "), auctionPath(),
                                 QStringLiteral("in use by another program")});
    EXPECT_NE(prompter.messages.back().title, QStringLiteral("Unsuccessful Import"));
    EXPECT_EQ(dump(), before);

    ASSERT_TRUE(import(QStringLiteral("05_002.zip"))); // and once it lets go, all is well
}

TEST_F(ImportTest, AFullDiskIsSaidSo)
{
    generate(1);
    {
        ScratchVolume tiny(16, false);
        if (!tiny.isMounted())
            GTEST_SKIP() << "no right to mount a small file system here";
        qputenv("QUORVANE_HOME", tiny.path().toUtf8());
        EXPECT_FALSE(create(QStringLiteral("05_001.zip")));
        expectErrorNaming(prompter, {QStringLiteral("Error:61 "), QStringLiteral("Disk full"),
                                     QStringLiteral("Auction5.mdb")});
        EXPECT_TRUE(QDir(tiny.path()).entryList(QDir::Files).isEmpty());
    }
    generate(2);
    {
        // Room for round 1, not for round 2's rows: the auction cannot grow.
        ScratchVolume small(200, false);
        ASSERT_TRUE(small.isMounted());
        qputenv("QUORVANE_HOME", small.path().toUtf8());
        ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
        const QString auction = session().CurrentDatabasePath;
        const QStringList before = dump();
        EXPECT_FALSE(import(QStringLiteral("05_002.zip")));
        expectErrorNaming(prompter, {QStringLiteral("Error:3035 "), QStringLiteral("disk is full"), auction});
        EXPECT_EQ(dump(), before);
        CloseAuctionDatabase();
        EXPECT_EQ(integrityOf(auction), QStringList{QStringLiteral("ok")});
    }
}

TEST_F(ImportTest, AReadOnlyApplicationFolderIsSaidSo)
{
    generate(1);
    {
        ScratchVolume locked(64, true);
        qputenv("QUORVANE_HOME", locked.path().toUtf8());
        if (!locked.isMounted()) {
            if (::geteuid() == 0)
                GTEST_SKIP() << "no read-only folder for the superuser without mounting one";
            QFile::setPermissions(app.path(), QFile::ReadOwner | QFile::ExeOwner);
            qputenv("QUORVANE_HOME", app.path().toUtf8());
        }
        EXPECT_FALSE(create(QStringLiteral("05_001.zip")));
        expectErrorNaming(prompter, {QStringLiteral("Error:75 "), QStringLiteral("not writable")});
        QFile::setPermissions(app.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}
