// Dropping user tables: what is refused, what is asked, and what goes.
#include "common/error.h"
#include "grid/core/drop_table.h"
#include "store/auction_schema.h"
#include "store/database.h"
#include "store/sql_quote.h"
#include "support/scripted_prompter.h"
#include "support/statement_column.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using qv::grid::DropOutcome;

namespace {

class DropTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        db_ = qv::store::Database::create(dir_.file(QStringLiteral("Auction5.mdb")));
        db_->beginTrans();
        db_->execute(QStringLiteral("CREATE TABLE [sysSuppliedTables] ([TableName] Text)"));
        db_->execute(QStringLiteral("INSERT INTO [sysSuppliedTables] (TableName) VALUES ('All Bids')"));
        for (const QString& statement :
             qv::store::schema::systemTableStatements(5, qv::store::schema::QueryBuilderLayout::Single))
            db_->execute(statement);
        db_->execute(QStringLiteral("CREATE TABLE [All Bids] ([Round] Number, [Bidder] Text)"));
        for (const QString& name : {QStringLiteral("Leaders"), QStringLiteral("Bob's Bids"),
                                    QStringLiteral("Bids' OR 'a'='a"), QStringLiteral("Top Bids")}) {
            db_->execute(QStringLiteral("CREATE TABLE [") + name + QStringLiteral("] ([Bidder] Text)"));
            db_->execute(QStringLiteral("INSERT INTO [sysTables] (TableName) VALUES (") +
                         qv::store::quoteText(name) + QLatin1Char(')'));
            db_->execute(QStringLiteral("INSERT INTO [sysWizard] ([Table Name], [SQL String]) VALUES (") +
                         qv::store::quoteText(name) + QStringLiteral(", 'SELECT 1')"));
        }
        db_->execute(QStringLiteral("INSERT INTO [sysQueryBuilder] (Txt5, Txt0, Txt1, Txt2) VALUES "
                                    "('top', '*', '[Top Bids]', '[All Bids]')"));
        db_->commitTrans();
    }

    QStringList column(const QString& statement)
    {
        QStringList values = qv::test::statementColumn(*db_, statement);
        values.sort();
        return values;
    }
    QStringList listed() { return column(QStringLiteral("SELECT [TableName] FROM [sysTables]")); }
    QStringList defined() { return column(QStringLiteral("SELECT [Table Name] FROM [sysWizard]")); }

    DropOutcome drop(const QString& table)
    {
        return qv::grid::dropTableAsked(*db_, prompter_, table, [this] { ++letGoCalls_; });
    }

    qv::test::TempDir dir_;
    qv::store::DatabasePtr db_;
    qv::test::ScriptedPrompter prompter_;
    int letGoCalls_ = 0;
};

} // namespace

TEST_F(DropTable, ASuppliedTableIsRefusedAndNothingChanges)
{
    const QStringList before = listed();
    EXPECT_EQ(drop(QStringLiteral("All Bids")), DropOutcome::Refused);
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages[0].text, QStringLiteral("Access to All Bids denied."));
    EXPECT_EQ(prompter_.messages[0].title, QStringLiteral("Access Denied"));
    EXPECT_EQ(prompter_.messages[0].icon, qv::Icon::Exclamation);
    EXPECT_TRUE(db_->tableExists(QStringLiteral("All Bids")));
    EXPECT_EQ(listed(), before);
    EXPECT_EQ(letGoCalls_, 0);
    EXPECT_EQ(prompter_.busyDepth, 0);
}

// Only a table listed as the user's own: never the program's tables, the
// engine's, one that was never listed, nor (with sysSuppliedTables gone) a
// table of the round results files.
TEST_F(DropTable, OnlyListedUserTablesCanBeDropped)
{
    db_->execute(QStringLiteral("CREATE TABLE [Unlisted] ([Bidder] Text)"));
    // A listing that names the program's own table changes nothing.
    db_->execute(QStringLiteral("INSERT INTO [sysTables] (TableName) VALUES ('sysWizard')"));
    prompter_.answers = std::deque<qv::Answer>(12, qv::Answer::Yes);
    for (const char* name : {"sysRounds", "SYSROUNDS", "sysQueryBuilder", "sysWizard", "sysTables",
                             "sysSuppliedTables", "sqlite_master", "Unlisted", "Nowhere"}) {
        const QString table = QString::fromUtf8(name);
        prompter_.messages.clear();
        EXPECT_EQ(drop(table), DropOutcome::Refused) << name;
        ASSERT_EQ(prompter_.messages.size(), 1u) << name;
        EXPECT_EQ(prompter_.messages[0].text,
                  QStringLiteral("Access to ") + table + QStringLiteral(" denied."));
    }
    for (const char* name : {"sysRounds", "sysQueryBuilder", "sysWizard", "sysSuppliedTables", "Unlisted"})
        EXPECT_TRUE(db_->tableExists(QString::fromUtf8(name))) << name;
    EXPECT_EQ(column(QStringLiteral("SELECT [Txt5] FROM [sysQueryBuilder]")),
              QStringList{QStringLiteral("top")});

    db_->execute(QStringLiteral("DROP TABLE [sysSuppliedTables]"));
    EXPECT_EQ(drop(QStringLiteral("All Bids")), DropOutcome::Refused);
    EXPECT_TRUE(db_->tableExists(QStringLiteral("All Bids")));
    EXPECT_EQ(letGoCalls_, 0);
}

TEST_F(DropTable, NoKeepsEverythingYesDropsTableListingAndDefinition)
{
    prompter_.answers = {qv::Answer::No};
    EXPECT_EQ(drop(QStringLiteral("Leaders")), DropOutcome::Declined);
    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages[0].text,
              QStringLiteral("This action will permanently delete\rthe current table, continue anyway?"));
    EXPECT_EQ(prompter_.messages[0].title, QStringLiteral("Caution"));
    EXPECT_EQ(prompter_.messages[0].buttons, qv::Buttons::YesNo);
    EXPECT_EQ(prompter_.messages[0].icon, qv::Icon::None);
    EXPECT_TRUE(db_->tableExists(QStringLiteral("Leaders")));
    EXPECT_TRUE(listed().contains(QStringLiteral("Leaders")));
    EXPECT_EQ(letGoCalls_, 0);

    prompter_.answers = {qv::Answer::Yes};
    EXPECT_EQ(drop(QStringLiteral("Leaders")), DropOutcome::Dropped);
    EXPECT_EQ(letGoCalls_, 1);
    EXPECT_FALSE(db_->tableExists(QStringLiteral("Leaders")));
    EXPECT_FALSE(listed().contains(QStringLiteral("Leaders")));
    EXPECT_FALSE(defined().contains(QStringLiteral("Leaders")));
    EXPECT_EQ(prompter_.busyDepth, 0);
}

TEST_F(DropTable, AQueryTableKeepsItsSavedQuery)
{
    prompter_.answers = {qv::Answer::Yes};
    EXPECT_EQ(drop(QStringLiteral("Top Bids")), DropOutcome::Dropped);
    EXPECT_FALSE(db_->tableExists(QStringLiteral("Top Bids")));
    EXPECT_EQ(column(QStringLiteral("SELECT [Txt5] FROM [sysQueryBuilder]")),
              QStringList{QStringLiteral("top")});
}

TEST_F(DropTable, ApostrophesInANameMatchOnlyThatName)
{
    prompter_.answers = {qv::Answer::Yes, qv::Answer::Yes};
    EXPECT_EQ(drop(QStringLiteral("Bob's Bids")), DropOutcome::Dropped);
    // A name that would widen an unquoted comparison to every row.
    EXPECT_EQ(drop(QStringLiteral("Bids' OR 'a'='a")), DropOutcome::Dropped);
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("All Bids"), QStringLiteral("Leaders"),
                                     QStringLiteral("Top Bids")}));
    EXPECT_EQ(defined(), (QStringList{QStringLiteral("Leaders"), QStringLiteral("Top Bids")}));
    for (const auto& message : prompter_.messages)
        EXPECT_FALSE(message.isError) << message.text.toStdString();
}

TEST_F(DropTable, AFailureLeavesTheTableAndItsListingTogether)
{
    // The listing cannot be cleaned: the drop must not stay done either.
    db_->execute(QStringLiteral("DROP TABLE [sysWizard]"));
    prompter_.answers = {qv::Answer::Yes};
    EXPECT_EQ(drop(QStringLiteral("Leaders")), DropOutcome::Failed);
    ASSERT_EQ(prompter_.messages.size(), 2u);
    EXPECT_TRUE(prompter_.messages[1].isError);
    EXPECT_TRUE(prompter_.messages[1].text.startsWith(QStringLiteral("Error 3078: ")))
        << prompter_.messages[1].text.toStdString();
    EXPECT_TRUE(db_->tableExists(QStringLiteral("Leaders")));
    EXPECT_TRUE(listed().contains(QStringLiteral("Leaders")));
    EXPECT_EQ(prompter_.busyDepth, 0);
}
