#include "import_test_fixture.h"

using namespace qv;
using namespace qv::test;

TEST_F(ImportTest, CreateMakesTheAuctionFromRoundOne)
{
    generate(2);
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral("Auction 5 has been successfully created.\r"));
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Round Imported Successfully"));
    EXPECT_EQ(prompter.messages[0].icon, Icon::Information);
    EXPECT_EQ(prompter.fileChoices.at(0).filter, QStringLiteral("Zip (*.zip)|*.zip"));
    EXPECT_EQ(session().CurrentDatabasePath, auctionPath());
    EXPECT_EQ(caption, QStringLiteral("Quorvane - ") + auctionPath());
    EXPECT_EQ(QString::fromUtf8(readFile(session().LastImportFile)),
              downloads.path() + QStringLiteral("/\r\n"));

    const QStringList supplied = column(QStringLiteral("SELECT TableName FROM sysSuppliedTables"));
    EXPECT_EQ(supplied.size(), 11);
    EXPECT_EQ(supplied.first(), QStringLiteral("Round Statistics"));
    EXPECT_EQ(column(QStringLiteral("SELECT * FROM [sysTables]")), supplied);
    EXPECT_EQ(column(QStringLiteral("SELECT [Round] FROM [sysRounds]")), QStringList{QStringLiteral("1")});
    EXPECT_EQ(column(QStringLiteral("Select [Auction ID] From [sysAuction]")),
              QStringList{QStringLiteral("5")});
    // A single auction keeps long query names.
    db().execute(QStringLiteral("INSERT INTO [sysQueryBuilder] ([Txt5], [Txt1]) VALUES ('") +
                 QString(200, QLatin1Char('q')) + QStringLiteral("', 'T')"));
    EXPECT_TRUE(leftovers() == QStringList{QStringLiteral("Auction5.mdb")});
}

TEST_F(ImportTest, CreateRefusesALaterRoundAndCancelReturnsToTheOpeningDialog)
{
    generate(2);
    EXPECT_FALSE(create(QStringLiteral("05_002.zip")));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              QStringLiteral("This file does not contain round 1!\r           Please try again."));
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Wrong File"));
    EXPECT_EQ(prompter.messages[0].icon, Icon::None);
    EXPECT_TRUE(leftovers().isEmpty());

    EXPECT_FALSE(CreateAuction(host)); // no file scripted: the dialog is cancelled
    EXPECT_EQ(fileOpenCalls, 1);
    EXPECT_EQ(prompter.messages.size(), 1u);
}

TEST_F(ImportTest, OnlyOrdinaryTablesBecomeSupplied)
{
    generate(1, 5, true);
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    const QStringList supplied = column(QStringLiteral("SELECT TableName FROM sysSuppliedTables"));
    EXPECT_TRUE(supplied.contains(QStringLiteral("SysY")));
    EXPECT_FALSE(supplied.contains(QStringLiteral("sysX")));
    EXPECT_FALSE(supplied.contains(QStringLiteral("MSysObjects")));
    EXPECT_EQ(supplied.size(), 12);
}

TEST_F(ImportTest, AnExistingAuctionIsReplacedOnlyWhenTheUserSaysYes)
{
    generate(3);
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    CloseAuctionDatabase();
    prompter.messages.clear();

    EXPECT_FALSE(create(QStringLiteral("05_001.zip"))); // default answer: No
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].buttons, Buttons::YesNo);
    EXPECT_EQ(prompter.messages[0].defaultAnswer, Answer::No);
    OpenAuctionDatabase(auctionPath());
    EXPECT_EQ(count(QStringLiteral("sysRounds")), 2);

    prompter.answers.push_back(Answer::Yes);
    ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
    EXPECT_EQ(count(QStringLiteral("sysRounds")), 1);
}

TEST_F(ImportTest, BadFirstRoundFilesLeaveNoAuctionBehind)
{
    generate(1);
    const QByteArray round = memberOf(zip(QStringLiteral("05_001.zip")));

    writeZip(zip(QStringLiteral("ab_001.zip")), QStringLiteral("ab_001.mdb"), round);
    EXPECT_FALSE(create(QStringLiteral("ab_001.zip")));
    EXPECT_EQ(prompter.messages.back().text.left(9), QStringLiteral("Error:13 "));

    writeZip(zip(QStringLiteral("06_001.zip")), QStringLiteral("other.mdb"), round);
    EXPECT_FALSE(create(QStringLiteral("06_001.zip")));
    EXPECT_EQ(prompter.messages.back().text.left(9), QStringLiteral("Error:53 "));

    writeZip(zip(QStringLiteral("07_001.zip")), QStringLiteral("07_001.mdb"), QByteArray(8192, 'z'));
    EXPECT_FALSE(create(QStringLiteral("07_001.zip")));
    EXPECT_EQ(prompter.messages.back().text.left(11), QStringLiteral("Error:3343 "));

    QFile damaged(zip(QStringLiteral("08_001.zip")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(readFile(zip(QStringLiteral("05_001.zip"))).left(300));
    damaged.close();
    EXPECT_FALSE(create(QStringLiteral("08_001.zip")));
    EXPECT_EQ(prompter.messages.back().text.left(9), QStringLiteral("Error:75 "));
    EXPECT_EQ(prompter.messages.back().title, QStringLiteral("Quorvane"));
    EXPECT_TRUE(leftovers().isEmpty());
}

TEST_F(ImportTest, AFirstFileHoldingAnotherRoundLeavesNoFileBehind)
{
    generate(2);
    writeZip(zip(QStringLiteral("05_001.zip")), QStringLiteral("05_001.mdb"),
             memberOf(zip(QStringLiteral("05_002.zip"))));
    EXPECT_FALSE(create(QStringLiteral("05_001.zip")));
    EXPECT_EQ(prompter.messages.back().title, QStringLiteral("Wrong Round Results File"));
    EXPECT_TRUE(prompter.messages.back().text.startsWith(
        QStringLiteral("The round results file 05_001.zip does not hold round 1 alone:")));
    EXPECT_EQ(appFiles(), QStringList());
    EXPECT_EQ(session().CurrentDatabase, nullptr);
}
