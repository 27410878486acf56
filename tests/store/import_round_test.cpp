#include "import_test_fixture.h"

#include "store/import/import_folder.h"

#include <QRegularExpression>

using namespace qv;
using namespace qv::test;

TEST_F(ImportTest, ImportingRoundByRoundEqualsTheBatch)
{
    generate(4);
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    for (const char* name : {"05_002.zip", "05_003.zip", "05_004.zip"})
        ASSERT_TRUE(import(QString::fromLatin1(name)));
    EXPECT_EQ(prompter.messages.back().text, QStringLiteral("Round 4 has been successfully imported.\r"));
    EXPECT_EQ(prompter.messages.back().title, QStringLiteral("Round Imported Successfully"));
    const QStringList oneByOne = dump();
    CloseAuctionDatabase();
    QFile::remove(auctionPath());

    prompter.messages.clear();
    prompter.files.push_back(zip(QStringLiteral("05_001.zip")));
    ASSERT_TRUE(BatchImportAuction(host));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral("Finished importing rounds 1 to 4."));
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Finished Batch Import"));
    EXPECT_EQ(caption, QStringLiteral("Quorvane - ") + auctionPath());
    EXPECT_EQ(dump(), oneByOne);
    EXPECT_EQ(leftovers(), QStringList{QStringLiteral("Auction5.mdb")});
    // A batch-built auction keeps query names short.
    EXPECT_THROW(db().execute(QStringLiteral("INSERT INTO [sysQueryBuilder] ([Txt5]) VALUES ('") +
                              QString(66, QLatin1Char('q')) + QStringLiteral("')")),
                 Error);
}

TEST_F(ImportTest, ARoundWhoseColumnsComeInAnotherOrderLandsEachValueInItsColumn)
{
    generate(3);
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    // Round 2's waivers with their columns reversed and one named in other
    // letters; round 3's as the auction has them.
    rewriteRound(QStringLiteral("05_002.zip"),
                 {QStringLiteral("CREATE TABLE w (\"Waivers Remaining\" LONG, \"required activity\" LONG, "
                                 "\"Activity\" LONG, \"Waiver Type\" TEXT, \"Zelnar Acct\" TEXT, "
                                 "\"Bidder\" TEXT, \"Round\" LONG)"),
                  QStringLiteral("INSERT INTO w VALUES (9, 222, 111, 'Manual', '42', 'Heron', 2)"),
                  QStringLiteral("DROP TABLE \"Waiver Statistics\""),
                  QStringLiteral("ALTER TABLE w RENAME TO \"Waiver Statistics\"")});
    rewriteRound(QStringLiteral("05_003.zip"),
                 {QStringLiteral("INSERT INTO \"Waiver Statistics\" VALUES (3, 'Kestrel', '43', 'Proactive', "
                                 "333, 444, 8)")});
    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    ASSERT_TRUE(import(QStringLiteral("05_003.zip")));
    const QString shown = QStringLiteral("SELECT [Round] & '|' & [Bidder] & '|' & [Zelnar Acct] & '|' & "
                                         "[Waiver Type] & '|' & [Activity] & '|' & "
                                         "[Required Activity] & '|' & [Waivers Remaining] FROM [Waiver "
                                         "Statistics] WHERE [Bidder] IN ('Heron', "
                                         "'Kestrel') ORDER BY [Round]");
    EXPECT_EQ(column(shown), (QStringList{QStringLiteral("2|Heron|42|Manual|111|222|9"),
                                          QStringLiteral("3|Kestrel|43|Proactive|333|444|8")}));
}

TEST_F(ImportTest, ReimportReplacesTheRoundAndWithdrawalsFollowTheLastFile)
{
    generate(10, 5, false, {}, 0.3); // withdrawals in rounds 2 to 6
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    for (const char* name : {"05_002.zip", "05_003.zip", "05_004.zip"})
        ASSERT_TRUE(import(QString::fromLatin1(name)));
    const QStringList before = dump();
    const int withdrawalsOf4 = count(QStringLiteral("[Withdrawal Statistics]"));
    const int withdrawnIn4 =
        count(QStringLiteral("SELECT * FROM [Withdrawal Statistics] WHERE [Withdrawal Round] = 4"));
    ASSERT_GT(withdrawnIn4, 0); // or the checks below prove nothing
    ASSERT_GT(withdrawalsOf4, withdrawnIn4);

    ASSERT_TRUE(import(QStringLiteral("05_003.zip")));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [sysRounds] WHERE [Round] = 3")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Markets] WHERE [Round] = 3")), 24);
    // Withdrawal Statistics now holds round 3's file whole, the rest is as before.
    QStringList after = dump();
    QStringList beforeOthers =
        before.filter(QRegularExpression(QStringLiteral("^(?!Withdrawal Statistics)")));
    QStringList afterOthers = after.filter(QRegularExpression(QStringLiteral("^(?!Withdrawal Statistics)")));
    EXPECT_EQ(afterOthers, beforeOthers);
    EXPECT_EQ(count(QStringLiteral("[Withdrawal Statistics]")), withdrawalsOf4 - withdrawnIn4);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Withdrawal Statistics] WHERE [Withdrawal Round] > 3")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT DISTINCT [Withdrawal Number] FROM [Withdrawal Statistics]")),
              withdrawalsOf4 - withdrawnIn4);

    // Back to round 4: its file's withdrawals again, each once.
    ASSERT_TRUE(import(QStringLiteral("05_004.zip")));
    EXPECT_EQ(dump(), before);
}

TEST_F(ImportTest, FilesOfAnotherAuctionOrAnotherRoundAreRefusedBeforeAnythingChanges)
{
    generate(3);
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    const QStringList before = dump();

    writeZip(zip(QStringLiteral("06_002.zip")), QStringLiteral("06_002.mdb"),
             memberOf(zip(QStringLiteral("05_002.zip"))));
    EXPECT_FALSE(import(QStringLiteral("06_002.zip")));
    EXPECT_EQ(prompter.messages.back().text,
              QStringLiteral(
                  "         The round results file you have selected\rdoes not belong to the auction you "
                  "currently have open.\r     Please check the auction number and try again."));
    EXPECT_EQ(prompter.messages.back().title, QStringLiteral("Wrong Round Results File"));
    EXPECT_EQ(prompter.messages.back().icon, Icon::Exclamation);

    // Named round 3, holding round 2's rows.
    writeZip(zip(QStringLiteral("05_003.zip")), QStringLiteral("05_003.mdb"),
             memberOf(zip(QStringLiteral("05_002.zip"))));
    EXPECT_FALSE(import(QStringLiteral("05_003.zip")));
    EXPECT_EQ(prompter.messages.back().title, QStringLiteral("Wrong Round Results File"));
    EXPECT_TRUE(prompter.messages.back().text.startsWith(
        QStringLiteral("The round results file 05_003.zip does not hold round 3 alone:")));
    EXPECT_EQ(dump(), before);
    EXPECT_EQ(leftovers(), QStringList{QStringLiteral("Auction5.mdb")});
}

TEST_F(ImportTest, AFailingImportLeavesTheAuctionAsItWas)
{
    generate(3);
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    const QStringList before = dump();

    // Round 3 without its last supplied table: the copy fails part-way.
    const QString extracted = app.file(QStringLiteral("work.mdb"));
    QFile::remove(extracted);
    QFile f(extracted);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(memberOf(zip(QStringLiteral("05_003.zip"))));
    f.close();
    {
        auto round = store::Database::open(extracted);
        round->execute(QStringLiteral("DROP TABLE [Reduction Statistics]"));
    }
    writeZip(zip(QStringLiteral("05_003.zip")), QStringLiteral("05_003.mdb"), readFile(extracted));
    QFile::remove(extracted);

    EXPECT_FALSE(import(QStringLiteral("05_003.zip")));
    EXPECT_TRUE(prompter.messages.back().text.startsWith(QStringLiteral("Error:3078 ")));
    EXPECT_EQ(dump(), before);
    EXPECT_EQ(leftovers(), QStringList{QStringLiteral("Auction5.mdb")});

    // Bad names and archives: reported, nothing changed.
    writeZip(zip(QStringLiteral("05_0x4.zip")), QStringLiteral("05_0x4.mdb"), QByteArray("x"));
    EXPECT_FALSE(import(QStringLiteral("05_0x4.zip")));
    EXPECT_TRUE(prompter.messages.back().text.startsWith(QStringLiteral("Error:13 ")));
    writeZip(zip(QStringLiteral("5_4.zip")), QStringLiteral("5_4.mdb"), QByteArray("x"));
    EXPECT_FALSE(import(QStringLiteral("5_4.zip")));
    EXPECT_TRUE(prompter.messages.back().text.startsWith(QStringLiteral("Error:13 ")));
    writeZip(zip(QStringLiteral("05_004.zip")), QStringLiteral("other.mdb"), QByteArray("x"));
    EXPECT_FALSE(import(QStringLiteral("05_004.zip")));
    EXPECT_TRUE(prompter.messages.back().text.startsWith(QStringLiteral("Error:53 ")));
    writeZip(zip(QStringLiteral("05_005.zip")), QStringLiteral("05_005.mdb"), QByteArray(4096, 'x'));
    EXPECT_FALSE(import(QStringLiteral("05_005.zip")));
    EXPECT_TRUE(prompter.messages.back().text.startsWith(QStringLiteral("Error:3343 ")));
    EXPECT_EQ(dump(), before);
    EXPECT_EQ(leftovers(), QStringList{QStringLiteral("Auction5.mdb")});

    const size_t shown = prompter.messages.size();
    EXPECT_FALSE(ImportRound(host, false)); // cancelled dialog: silent
    EXPECT_EQ(prompter.messages.size(), shown);
}

TEST_F(ImportTest, StoredFoldersInTheArchiveAreIgnored)
{
    generate(2);
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    writeZip(zip(QStringLiteral("05_002.zip")), QStringLiteral("../../escape/05_002.mdb"),
             memberOf(zip(QStringLiteral("05_002.zip"))));
    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    EXPECT_FALSE(QFile::exists(app.file(QStringLiteral("../../escape/05_002.mdb"))));
    EXPECT_EQ(count(QStringLiteral("sysRounds")), 2);
}

TEST_F(ImportTest, BatchStopsAtTheFirstGap)
{
    const QStringList zips = generate(5, 7);
    QFile::remove(zip(QStringLiteral("07_004.zip")));
    prompter.files.push_back(zip(QStringLiteral("07_001.zip")));
    ASSERT_TRUE(BatchImportAuction(host));
    EXPECT_EQ(prompter.messages.back().text, QStringLiteral("Finished importing rounds 1 to 3."));
    EXPECT_EQ(prompter.messages.back().icon, Icon::Information);
    EXPECT_EQ(column(QStringLiteral("SELECT [Round] FROM [sysRounds] ORDER BY [Round]")),
              (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Markets] WHERE [Round] = 5")), 0);
}

TEST_F(ImportTest, BatchOfOneRoundAndABadRoundMidway)
{
    generate(3, 8);
    QFile::remove(zip(QStringLiteral("08_002.zip")));
    prompter.files.push_back(zip(QStringLiteral("08_001.zip")));
    ASSERT_TRUE(BatchImportAuction(host));
    EXPECT_EQ(prompter.messages.back().text, QStringLiteral("Finished importing rounds 1 to 1."));
    CloseAuctionDatabase();
    QFile::remove(auctionPath(8));

    generate(3, 8);
    writeZip(zip(QStringLiteral("08_003.zip")), QStringLiteral("08_003.mdb"), QByteArray(4096, 'x'));
    prompter.files.push_back(zip(QStringLiteral("08_001.zip")));
    EXPECT_FALSE(BatchImportAuction(host));
    EXPECT_TRUE(prompter.messages.back().text.startsWith(QStringLiteral("Error:3343 ")));
    EXPECT_EQ(count(QStringLiteral("sysRounds")), 2); // rounds so far stay
    EXPECT_EQ(leftovers(), QStringList{QStringLiteral("Auction8.mdb")});
}

// A batch round that fails part-way leaves the rounds before it whole and
// nothing of itself anywhere.
TEST_F(ImportTest, ABatchRoundMissingASuppliedTableLeavesNoTrace)
{
    generate(2, 9);
    prompter.files.push_back(zip(QStringLiteral("09_001.zip")));
    ASSERT_TRUE(BatchImportAuction(host));
    const QStringList twoRounds = dump();
    CloseAuctionDatabase();
    QFile::remove(auctionPath(9));

    generate(3, 9);
    rewriteRound(QStringLiteral("09_003.zip"), {QStringLiteral("DROP TABLE \"Reduction Statistics\"")});
    prompter.files.push_back(zip(QStringLiteral("09_001.zip")));
    EXPECT_FALSE(BatchImportAuction(host));
    EXPECT_TRUE(prompter.messages.back().text.startsWith(QStringLiteral("Error:3078 ")));
    EXPECT_EQ(dump(), twoRounds);
    for (const QString& t : column(QStringLiteral("SELECT TableName FROM sysSuppliedTables"))) {
        if (t != QLatin1String("Withdrawal Statistics")) {
            EXPECT_EQ(count(QStringLiteral("SELECT * FROM [") + t + QStringLiteral("] WHERE [Round] = 3")), 0)
                << t.toStdString();
        }
    }
    EXPECT_EQ(appFiles(), QStringList{QStringLiteral("Auction9.mdb")});
}

TEST_F(ImportTest, AutoImportTakesTheNextFileOrFallsBackToTheDialog)
{
    generate(3);
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    ASSERT_TRUE(ImportRound(host, true));
    EXPECT_EQ(count(QStringLiteral("sysRounds")), 2);
    EXPECT_EQ(prompter.fileChoices.size(), 1u); // no dialog for round 2

    QFile::remove(zip(QStringLiteral("05_003.zip")));
    const size_t shown = prompter.messages.size();
    EXPECT_FALSE(ImportRound(host, true)); // not found: the dialog, cancelled
    EXPECT_EQ(prompter.fileChoices.size(), 2u);
    EXPECT_EQ(prompter.fileChoices.back().initialFolder, downloads.path() + QLatin1Char('/'));
    EXPECT_EQ(prompter.messages.size(), shown);

    db().execute(QStringLiteral("INSERT INTO sysRounds (Round) VALUES (999)"));
    QFile(zip(QStringLiteral("05_1000.zip"))).open(QIODevice::WriteOnly);
    EXPECT_EQ(NextRoundFileName(prompter), zip(QStringLiteral("05_1000.zip")));
    EXPECT_EQ(roundDigits(7), QStringLiteral("007"));
}
