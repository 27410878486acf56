#include "import_test_fixture.h"

using namespace qv;
using namespace qv::test;

namespace {

class RebuildTest : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        generate(3);
        ASSERT_TRUE(create(QStringLiteral("05_001.zip")));
        prompter.messages.clear();
    }

    void addWizardTable(const QString& name, const QString& statement)
    {
        db().execute(statement);
        db().execute(QStringLiteral("INSERT INTO [sysWizard] ([Table Name], [SQL String]) VALUES ('") + name +
                     QStringLiteral("', \"") + statement + QStringLiteral("\")"));
        db().execute(QStringLiteral("INSERT INTO [sysTables] (TableName) VALUES ('") + name +
                     QStringLiteral("')"));
    }

    void addQuery(const QString& name, const QString& select, const QString& into, const QString& from,
                  const QString& where, const QString& order)
    {
        db().execute(
            QStringLiteral("INSERT INTO [sysQueryBuilder] ([Txt5], [Txt0], [Txt1], [Txt2], [Txt3], [Txt4]) "
                           "VALUES ('%1', '%2', '%3', '%4', '%5', '%6')")
                .arg(name, select, into, from, where, order));
        db().execute(QStringLiteral("SELECT ") + select + QStringLiteral(" INTO ") + into +
                     QStringLiteral(" FROM ") + from +
                     (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where));
        db().execute(QStringLiteral("INSERT INTO [sysTables] (TableName) VALUES ('") +
                     QString(into).remove(QLatin1Char('[')).remove(QLatin1Char(']')) + QStringLiteral("')"));
    }
};

} // namespace

TEST_F(RebuildTest, ImportRebuildsBothKindsInOrderWithTheirStatusTexts)
{
    addWizardTable(QStringLiteral("Wiz"),
                   QStringLiteral("SELECT [Round], [Bidder] INTO [Wiz] FROM [All Bids]"));
    addQuery(QStringLiteral("q1"), QStringLiteral("[Round], [License Name]"), QStringLiteral("[My Markets]"),
             QStringLiteral("[Markets]"), QString(), QStringLiteral("[Round] DESC"));
    // A later query reads the table of an earlier one.
    addQuery(QStringLiteral("q2"), QStringLiteral("Count(*) AS [N]"), QStringLiteral("Counted"),
             QStringLiteral("[My Markets]"), QString(), QString());

    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Wiz] WHERE [Round] = 2")),
              count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Round] = 2")));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [My Markets] WHERE [Round] = 2")), 24);
    EXPECT_EQ(column(QStringLiteral("SELECT [N] FROM [Counted]")), QStringList{QStringLiteral("48")});
    EXPECT_EQ(column(QStringLiteral("SELECT TOP 1 [Round] FROM [My Markets]")),
              QStringList{QStringLiteral("2")});
    EXPECT_EQ(prompter.statusTexts,
              (QStringList{QStringLiteral("Auto-Rebuilding Customized Table(s)...Please Standby!"),
                           QStringLiteral("Completed Auto-Rebuilding Customized Table(s)!")}));
    const QStringList listed = column(QStringLiteral("SELECT * FROM [sysTables]"));
    EXPECT_EQ(listed.count(QStringLiteral("My Markets")), 1);
    EXPECT_EQ(listed.count(QStringLiteral("Wiz")), 1);
}

TEST_F(RebuildTest, OpenQueryTableIsReportedAfterTheSuccessBox)
{
    addQuery(QStringLiteral("q1"), QStringLiteral("[Round], [Bidder]"), QStringLiteral("[Held Table]"),
             QStringLiteral("[All Bids]"), QStringLiteral("[Round] = 1"), QString());
    addQuery(QStringLiteral("q2"), QStringLiteral("[Round]"), QStringLiteral("[Never Rebuilt]"),
             QStringLiteral("[All Bids]"), QString(), QString());
    auto shown = db().openRecordset(QStringLiteral("[Held Table]"));
    store::TableHold hold = shown->hold();
    db().execute(QStringLiteral("DROP TABLE [Never Rebuilt]"));

    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Round Imported Successfully"));
    EXPECT_EQ(prompter.messages[1].title, QStringLiteral("Successful Round Import!"));
    EXPECT_EQ(prompter.messages[1].icon, Icon::Information);
    EXPECT_EQ(prompter.messages[1].text,
              QStringLiteral(
                  " The Round Import Was Successful. However... \r A User Defined Table (UDT) named:  < < "
                  "< [Held Table] > > > \r is currently open in a data window.\r\r To be refreshed "
                  "automatically in the Round Import: UDT must be closed.\r You can still re-build the "
                  "table by running the SQL manually."));
    EXPECT_EQ(prompter.statusTexts.last(),
              QStringLiteral("Can NOT Refresh User-Defined Table Due To Open! Please Rebuild It Manually"));
    // The held table stays; its listing goes until it is built again; later rows are not rebuilt.
    EXPECT_TRUE(db().tableExists(QStringLiteral("Held Table")));
    EXPECT_FALSE(column(QStringLiteral("SELECT * FROM [sysTables]")).contains(QStringLiteral("Held Table")));
    EXPECT_FALSE(db().tableExists(QStringLiteral("Never Rebuilt")));
}

TEST_F(RebuildTest, UsersSqlErrorAndWizardFailures)
{
    addWizardTable(QStringLiteral("Gone"), QStringLiteral("SELECT [Round] INTO [Gone] FROM [Markets]"));
    addWizardTable(QStringLiteral("Held"), QStringLiteral("SELECT [Bidder] INTO [Held] FROM [Bidders]"));
    db().execute(QStringLiteral("DROP TABLE [Gone]")); // rebuilt without a message
    auto shown = db().openRecordset(QStringLiteral("Held"));
    store::TableHold hold = shown->hold();
    db().execute(
        QStringLiteral("INSERT INTO [sysQueryBuilder] ([Txt5], [Txt0], [Txt1], [Txt2]) VALUES ('bad', "
                       "'[Nope]', 'Bad', '[Markets]')"));
    db().execute(
        QStringLiteral("INSERT INTO [sysQueryBuilder] ([Txt5], [Txt0], [Txt1], [Txt2]) VALUES ('skip', "
                       "'[Round]', NULL, '[Markets]')"));

    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    EXPECT_TRUE(db().tableExists(QStringLiteral("Gone")));
    ASSERT_EQ(prompter.messages.size(), 3u);
    EXPECT_TRUE(prompter.messages[0].text.startsWith(QStringLiteral("Error:3211 ")));
    EXPECT_EQ(prompter.messages[1].title, QStringLiteral("Round Imported Successfully"));
    EXPECT_EQ(prompter.messages[2].title, QStringLiteral("USER'S SQL ERROR"));
    EXPECT_TRUE(prompter.messages[2].text.startsWith(QStringLiteral("User's Error:3061 ")));
}

TEST_F(RebuildTest, NoSavedQueriesKeepsTheStandbyText)
{
    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    EXPECT_EQ(prompter.statusTexts,
              QStringList{QStringLiteral("Auto-Rebuilding Customized Table(s)...Please Standby!")});
}
