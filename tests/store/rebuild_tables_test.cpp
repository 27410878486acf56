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

// Tables on show in windows keep their rows and their listing; the others
// are rebuilt; one message names the open ones, which are rebuilt once let go.
TEST_F(RebuildTest, TablesOnShowStayListedAndAreRebuiltWhenLetGo)
{
    addWizardTable(QStringLiteral("Wiz Held"),
                   QStringLiteral("SELECT [Round] INTO [Wiz Held] FROM [Markets]"));
    addQuery(QStringLiteral("q1"), QStringLiteral("[Round], [Bidder]"), QStringLiteral("[Held Table]"),
             QStringLiteral("[All Bids]"), QString(), QString());
    addQuery(QStringLiteral("q2"), QStringLiteral("[Round]"), QStringLiteral("[After It]"),
             QStringLiteral("[All Bids]"), QString(), QString());
    auto wizardShown = db().openRecordset(QStringLiteral("[Wiz Held]"));
    auto queryShown = db().openRecordset(QStringLiteral("[Held Table]"));
    auto holds = std::make_unique<std::pair<store::TableHold, store::TableHold>>(wizardShown->hold(),
                                                                                 queryShown->hold());
    const int wizardRows = count(QStringLiteral("SELECT * FROM [Wiz Held]"));
    const int queryRows = count(QStringLiteral("SELECT * FROM [Held Table]"));

    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    EXPECT_EQ(prompter.titles(), (QStringList{QStringLiteral("Round Imported Successfully"),
                                              QStringLiteral("Successful Round Import!")}));
    EXPECT_EQ(
        prompter.messages[1].text,
        QStringLiteral(" The Round Import Was Successful. However... \r These user defined tables (UDT) "
                       "are open in a data window: \r < < < Wiz Held > > > \r < < < Held Table > > > "
                       "\r\r They keep their earlier rows until their windows close, and are then "
                       "rebuilt."));
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Wiz Held]")), wizardRows);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Held Table]")), queryRows);
    const QStringList listed = column(QStringLiteral("SELECT * FROM [sysTables]"));
    EXPECT_EQ(listed.count(QStringLiteral("Wiz Held")), 1);
    EXPECT_EQ(listed.count(QStringLiteral("Held Table")), 1);
    // The query after the held one is rebuilt.
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [After It] WHERE [Round] = 2")),
              count(QStringLiteral("SELECT * FROM [All Bids] WHERE [Round] = 2")));

    // Nothing to do while they are shown; once let go, they are rebuilt quietly.
    prompter.messages.clear();
    RebuildReleasedTables(host);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Held Table]")), queryRows);
    holds.reset();
    RebuildReleasedTables(host);
    EXPECT_GT(count(QStringLiteral("SELECT * FROM [Wiz Held] WHERE [Round] = 2")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Held Table]")),
              count(QStringLiteral("SELECT * FROM [All Bids]")));
    EXPECT_EQ(column(QStringLiteral("SELECT * FROM [sysTables]")).count(QStringLiteral("Held Table")), 1);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(session().OutOfDateTables.isEmpty());
}

// A failing query leaves the table it built before, listed, and says which
// table and why; a query with an empty Into is skipped (it stands before the
// failing one, so that its own failure would show instead); the rows after the
// failure are still rebuilt.
TEST_F(RebuildTest, AFailingQueryKeepsItsTableAndTheOthersAreRebuilt)
{
    addWizardTable(QStringLiteral("Gone"), QStringLiteral("SELECT [Round] INTO [Gone] FROM [Markets]"));
    db().execute(QStringLiteral("DROP TABLE [Gone]")); // rebuilt without a message
    addWizardTable(QStringLiteral("Wiz Bad"), QStringLiteral("SELECT [Round] INTO [Wiz Bad] FROM [Markets]"));
    db().execute(QStringLiteral("UPDATE [sysWizard] SET [SQL String] = 'SELECT [Nope] INTO [Wiz Bad] FROM "
                                "[Markets]' WHERE [Table Name] = 'Wiz Bad'"));
    addWizardTable(QStringLiteral("Wiz Last"),
                   QStringLiteral("SELECT [Round] INTO [Wiz Last] FROM [Markets]"));
    addQuery(QStringLiteral("a"), QStringLiteral("[Round]"), QStringLiteral("[First]"),
             QStringLiteral("[Markets]"), QString(), QString());
    db().execute(QStringLiteral("INSERT INTO [sysQueryBuilder] ([Txt5], [Txt0], [Txt1], [Txt2]) VALUES ('b', "
                                "'[Round]', NULL, '[Markets]')"));
    addQuery(QStringLiteral("c"), QStringLiteral("[Round]"), QStringLiteral("[Bad]"),
             QStringLiteral("[Markets]"), QString(), QString());
    db().execute(QStringLiteral("UPDATE [sysQueryBuilder] SET [Txt0] = '[Nope]' WHERE [Txt5] = 'c'"));
    addQuery(QStringLiteral("d"), QStringLiteral("[Round]"), QStringLiteral("[Last]"),
             QStringLiteral("[Markets]"), QString(), QString());
    const int badRows = count(QStringLiteral("SELECT * FROM [Bad]"));

    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    EXPECT_TRUE(host.rebuildFailed);
    EXPECT_TRUE(db().tableExists(QStringLiteral("Gone")));
    EXPECT_EQ(prompter.titles(),
              (QStringList{QStringLiteral("Quorvane"), QStringLiteral("Round Imported Successfully"),
                           QStringLiteral("USER'S SQL ERROR")}));
    EXPECT_TRUE(prompter.messages[0].text.contains(
        QStringLiteral("The user defined table 'Wiz Bad' was not rebuilt")))
        << prompter.messages[0].text.toStdString();
    EXPECT_TRUE(prompter.messages[2].text.startsWith(QStringLiteral("User's Error:3061 ")))
        << prompter.messages[2].text.toStdString();
    EXPECT_TRUE(
        prompter.messages[2].text.contains(QStringLiteral("The user defined table 'Bad' was not rebuilt")));
    EXPECT_FALSE(prompter.statusTexts.last().contains(QStringLiteral("Due To Open")));
    EXPECT_GT(count(QStringLiteral("SELECT * FROM [Wiz Last] WHERE [Round] = 2")), 0);
    EXPECT_GT(count(QStringLiteral("SELECT * FROM [First] WHERE [Round] = 2")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT * FROM [Bad]")), badRows);
    EXPECT_GT(count(QStringLiteral("SELECT * FROM [Last] WHERE [Round] = 2")), 0);
    const QStringList listed = column(QStringLiteral("SELECT * FROM [sysTables]"));
    EXPECT_EQ(listed.count(QStringLiteral("Bad")), 1);
    EXPECT_EQ(listed.count(QStringLiteral("Last")), 1);
}

// Saved definitions (from an older version, or a file from elsewhere) that
// would build over a table the user did not build are refused by number;
// the round's tables stay as the import left them, and so do the program's.
TEST_F(RebuildTest, DefinitionsThatWouldReplaceOtherTablesAreRefused)
{
    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    const QStringList before = dump();
    const struct {
        const char* table; // sysQueryBuilder or sysWizard
        const char* definition;
        const char* error;
    } cases[] = {
        {"q", "Markets", "User's Error:3033 'Markets' is a table of the round results files"},
        {"q", "[sysRounds]", "User's Error:3033 'sysRounds' is one of Quorvane's own tables"},
        {"q", "Top Bids", "User's Error:3125 The Into text 'Top Bids' is not one table name"},
        {"w", "SELECT [Round] INTO [Bidders] FROM [Markets]", "Error:3033 'Bidders' is a table of the"},
        {"w", "DELETE FROM [All Bids]", "Error:3219 "},
        // Our work tables' prefix, a name that lists on two lines, and one that
        // differs from a supplied table only by blanks at its end.
        {"q", "[qv_build:Top]", "User's Error:3033 'qv_build:Top' begins with qv_"},
        {"w", "SELECT [Round] INTO [qv_build:Top] FROM [Markets]", "Error:3033 'qv_build:Top' begins with"},
        {"q", "[Top\nBids]", "User's Error:3125 The table name 'Top\\nBids' holds a tab or a line break"},
        {"q", "[All Bids ]", "User's Error:3033 'All Bids ' differs from 'All Bids'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.definition);
        db().execute(QStringLiteral("DELETE FROM [sysQueryBuilder]"));
        db().execute(QStringLiteral("DELETE FROM [sysWizard]"));
        const QString definition = QString::fromUtf8(c.definition);
        if (QLatin1String(c.table) == QLatin1String("q"))
            db().execute(QStringLiteral("INSERT INTO [sysQueryBuilder] ([Txt5], [Txt0], [Txt1], [Txt2]) "
                                        "VALUES ('x', '[Round]', '%1', '[Markets]')")
                             .arg(definition));
        else
            db().execute(QStringLiteral("INSERT INTO [sysWizard] ([Table Name], [SQL String]) VALUES ('x', "
                                        "\"%1\")")
                             .arg(definition));
        prompter.messages.clear();
        ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
        const QStringList errors = prompter.errors();
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].startsWith(QLatin1String(c.error))) << errors[0].toStdString();
        EXPECT_EQ(dump(), before);
        EXPECT_FALSE(db().tableExists(QStringLiteral("Top")));
    }
}

TEST_F(RebuildTest, NoSavedQueriesKeepsTheStandbyText)
{
    ASSERT_TRUE(import(QStringLiteral("05_002.zip")));
    EXPECT_EQ(prompter.statusTexts,
              QStringList{QStringLiteral("Auto-Rebuilding Customized Table(s)...Please Standby!")});
}
