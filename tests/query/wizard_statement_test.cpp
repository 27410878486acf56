// The table wizard's statement, and how the built table is recorded so that
// the rebuild after an import runs exactly the statement that built it.
#include "common/error.h"
#include "query/core/wizard_statement.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::query;

namespace {

WizardChoices workedExample()
{
    WizardChoices c;
    c.columns = {QStringLiteral("Round"), QStringLiteral("Bidder")};
    c.tableName = QStringLiteral("MyTable");
    c.nameTyped = false;
    c.sourceTable = QStringLiteral("All Bids");
    c.conditions = {{QStringLiteral("Round"), QStringLiteral(">="), QStringLiteral("5")},
                    {QStringLiteral("Bidder"), QStringLiteral("="), QStringLiteral("X")},
                    {},
                    {}};
    c.joiners = {QStringLiteral("And"), QStringLiteral("And"), QStringLiteral("And")};
    c.sortColumns = {{QStringLiteral("Round"), false}, {QStringLiteral("Bidder"), true}};
    return c;
}

} // namespace

TEST(WizardStatement, WorkedExampleComesOutCharacterForCharacter)
{
    EXPECT_EQ(wizardStatement(workedExample()),
              QStringLiteral("SELECT [Round], [Bidder] INTO [MyTable] FROM [All Bids]  WHERE [Round] >=5 And "
                             "[Bidder] ='X' ORDER BY [Round] DESC,  [Bidder];"));
    // A name typed in the dialog leaves a blank after it: two before FROM.
    WizardChoices typed = workedExample();
    typed.nameTyped = true;
    EXPECT_TRUE(wizardStatement(typed).startsWith(
        QStringLiteral("SELECT [Round], [Bidder] INTO [MyTable]  FROM [All Bids]  WHERE")));
}

TEST(WizardStatement, SingleColumnsAndConditionRules)
{
    WizardChoices c;
    c.columns = {QStringLiteral("Bidder")};
    c.tableName = QStringLiteral("T");
    c.sourceTable = QStringLiteral("All Bids");
    c.joiners = {QStringLiteral("Or"), QStringLiteral("And"), QStringLiteral("Or")};
    EXPECT_EQ(wizardStatement(c), QStringLiteral("SELECT [Bidder] INTO [T]  FROM [All Bids] ;"));

    c.sortColumns = {{QStringLiteral("Bidder"), false}};
    c.conditions = {{QStringLiteral("Zelnar Acct"), QStringLiteral("="), QStringLiteral("123")},
                    {QStringLiteral("Round"), QStringLiteral("="), QStringLiteral("123")},
                    {QStringLiteral("Round"), QStringLiteral("="), QString()},
                    {QStringLiteral("Submarket"), QStringLiteral("<>"), QStringLiteral("A1")}};
    EXPECT_EQ(wizardStatement(c),
              QStringLiteral("SELECT [Bidder] INTO [T]  FROM [All Bids]  WHERE [Zelnar Acct] ='123' Or "
                             "[Round] =123 Or [Submarket] <>'A1' ORDER BY [Bidder] DESC;"));
    // Only the first row writes WHERE, even when it is empty.
    c.conditions[0] = {};
    EXPECT_TRUE(wizardStatement(c).contains(QStringLiteral("FROM [All Bids]  Or [Round] =123")));
}

TEST(WizardStatement, AnApostropheInAValueIsDoubled)
{
    WizardChoices c;
    c.columns = {QStringLiteral("Bidder")};
    c.tableName = QStringLiteral("T");
    c.sourceTable = QStringLiteral("All Bids");
    c.conditions = {{QStringLiteral("Bidder"), QStringLiteral("="), QStringLiteral("O'Hare")}};
    EXPECT_EQ(wizardStatement(c),
              QStringLiteral("SELECT [Bidder] INTO [T]  FROM [All Bids]  WHERE [Bidder] ='O''Hare';"));
}

TEST(WizardStatement, BuildRecordsTheStatementExactlyAsItRan)
{
    test::TempDir dir;
    auto db = store::Database::create(dir.file(QStringLiteral("Auction5.mdb")));
    for (const char* s :
         {"CREATE TABLE [sysTables] ([TableName] Text)",
          "CREATE TABLE [sysWizard] ([Table Name] Text, [SQL String] Memo)",
          "CREATE TABLE [All Bids] ([Round] Number, [Bidder] Text, [Gross Bid Amount] Number)",
          "INSERT INTO [All Bids] VALUES (1, 'O''Hare \"Ltd\"', 10)",
          "INSERT INTO [All Bids] VALUES (2, 'O''Hare \"Ltd\"', 20)",
          "INSERT INTO [All Bids] VALUES (2, 'Heron', 30)"})
        db->execute(QString::fromUtf8(s));
    WizardChoices c;
    c.columns = {QStringLiteral("Round"), QStringLiteral("Gross Bid Amount")};
    c.tableName = QStringLiteral("Ann's Bids");
    c.sourceTable = QStringLiteral("All Bids");
    c.conditions = {{QStringLiteral("Bidder"), QStringLiteral("="), QStringLiteral("O'Hare \"Ltd\"")}};
    c.sortColumns = {{QStringLiteral("Round"), false}};
    const QString statement = wizardStatement(c);
    buildWizardTable(*db, c.tableName, statement);

    auto rows = db->openRecordset(QStringLiteral("SELECT * FROM [Ann's Bids]"));
    ASSERT_EQ(rows->recordCount(), 2);
    EXPECT_EQ(rows->at(0, 0).toInt(), 2);
    auto listed = db->openRecordset(QStringLiteral("SELECT [TableName] FROM [sysTables]"));
    ASSERT_EQ(listed->recordCount(), 1);
    EXPECT_EQ(listed->at(0, 0).toString(), c.tableName);
    auto stored = db->openRecordset(QStringLiteral("SELECT [Table Name], [SQL String] FROM [sysWizard]"));
    ASSERT_EQ(stored->recordCount(), 1);
    EXPECT_EQ(stored->at(0, 0).toString(), c.tableName);
    EXPECT_EQ(stored->at(0, 1).toString(), statement);

    // The stored statement runs again as it is.
    db->execute(QStringLiteral("DROP TABLE [Ann's Bids]"));
    db->execute(stored->at(0, 1).toString());
    EXPECT_EQ(db->openRecordset(QStringLiteral("SELECT * FROM [Ann's Bids]"))->recordCount(), 2);

    // A name of our work tables is refused before anything is built.
    c.tableName = QStringLiteral("qv_build:Top");
    try {
        buildWizardTable(*db, c.tableName, wizardStatement(c));
        ADD_FAILURE() << "built";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 3033);
    }
    EXPECT_FALSE(db->tableExists(c.tableName));
}
