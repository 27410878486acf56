#include "store/database.h"
#include "summary/core/summary_figures.h"
#include "summary/core/summary_formats.h"
#include "support/qt_printers.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::summary;

namespace {

// Six rounds over three bidding days, two or more a day, with figures small
// enough to add up by hand.
class SummaryFigures : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = store::Database::create(dir.file(QStringLiteral("Auction7.mdb")));
        run({
            "CREATE TABLE [sysRounds] ([Round] Number)",
            "CREATE TABLE [Markets] ([Auction ID] Number, [Round] Number, [License Name] Text)",
            "CREATE TABLE [Round Statistics] ([Round] Number, [Round Date] DateTime, [Stage] Number, "
            "[Net Bids] Currency, [Gross Bids] Currency, [Dollar Change in Net Bids] Currency, [New Bids] "
            "Number, "
            "[Total High Bids] Number, [Zelnar Held Licenses] Number, [Withdrawals] Number, "
            "[Eligibility Ratio] Double, [Pctg of BUs for High Bids] Double, [Bidders At Risk] Number, "
            "[Eligible Bidders] Number, [Waivers] Number, [Number Reduced] Number, [Pctg of Covered BUs] "
            "Double)",
            "CREATE TABLE [Bidders] ([Round] Number, [Bidder] Text, [Additional Activity Required] Number, "
            "[Current Eligibility] Number)",
            "CREATE TABLE [All Bids] ([Round] Number, [License Name] Text, [Increments of Bid] Number)",
            "CREATE TABLE [Bidders Raising Own High Bid] ([Round] Number, [License Name] Text)",
            "INSERT INTO [Markets] VALUES (7, 1, 'A'), (7, 1, 'B')",
            "INSERT INTO [Round Statistics] VALUES "
            "(1, #1/12/2026#, 1, 1000, 1200, 1000, 14, 3, 0, 0, 2.5, 40.25, 1, 4, 0, 0, 50), "
            "(2, #1/12/2026#, 1, 1500, 1700, 500, 9, 4, 0, 0, 2.4, 45.5, 0, 4, 1, 0, 60), "
            "(3, #1/13/2026#, 1, 2600, 3000, 1100, 1234, 5, 1, 1, 2.25, 61, 2, 4, 0, 1, 75), "
            "(4, #1/13/2026#, 2, 2400, 2900, -200, 7, 5, 1, 2, 2.2, 70, 0, 3, 0, 0, 75), "
            "(5, #1/14/2026#, 2, 2000, 2500, -400, 6, 4, 0, 0, 2.1, 80, 1, 3, 2, 1, 80), "
            "(6, #1/14/2026#, 3, 0, 1234567, -2000, 1000000, 3, 2, 3, 1.75, 92.5, 2, 3, 1, 2, 90.125)",
            "INSERT INTO [Bidders] VALUES (6, 'Heron', 1500, 9000), (6, 'Kestrel', 250, 100), (5, 'Heron', "
            "7, 1)",
            "INSERT INTO [All Bids] VALUES (6, 'A', 1), (6, 'B', 3), (6, 'C', 2), (5, 'A', 1)",
            "INSERT INTO [Bidders Raising Own High Bid] VALUES (6, 'A'), (6, 'B'), (6, 'C'), (5, 'A')",
            "INSERT INTO [sysRounds] VALUES (1), (2), (3), (4), (5), (6)",
        });
    }
    void run(std::initializer_list<const char*> statements)
    {
        for (const char* statement : statements)
            db->execute(QLatin1String(statement));
    }
    QString prevDay(int round)
    {
        return GetDay(*db, QString::number(round), prompter).value_or(QStringLiteral("?"));
    }

    test::TempDir dir;
    store::DatabasePtr db;
    test::ScriptedPrompter prompter;
};

} // namespace

TEST_F(SummaryFigures, FillsTheTwentyFiguresOfARound)
{
    SummarySheet sheet;
    sheet.layOut(GetAuction(*db, prompter));
    FillSummary(*db, QStringLiteral("6"), sheet, prompter);

    EXPECT_EQ(sheet.text(3, 1), QStringLiteral("Auction 7"));
    EXPECT_EQ(sheet.text(3, 2), QStringLiteral("Round 6"));
    const char* const left[10][2] = {{"Round Date", "1/14/2026"},
                                     {"Stage", "3"},
                                     {"Stage Transition %", "92.5"},
                                     {"Net Bids", "$0"},
                                     {"Gross Bids", "$1,234,567"},
                                     {"Change in Net Prev Round", "-$2,000"},
                                     // Against round 4, the last of 1/13, not round 5 of the same day.
                                     {"Change in Net Prev Day", "-$2,400"},
                                     {"Total Bids", "1,000,000"},
                                     {"High Bids", "3"},
                                     {"Zelnar Held Licenses", "2"}};
    const char* const right[10][2] = {{"Withdrawals", "3"},
                                      {"Eligibility Ratio", "1.75"},
                                      {"Pctg of Covered BUs", "90.125"},
                                      {"Bidders At Risk", "2"},
                                      {"Eligible Bidders", "3"},
                                      {"Additional Activity Required", "1,750"},
                                      {"Waivers", "1"},
                                      {"Bidders Reduced", "2"},
                                      {"Multi-Increment Bids", "2"},
                                      {"Bidders Raising Own High Bid", "3"}};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(sheet.text(1, i + 3), QLatin1String(left[i][0]));
        EXPECT_EQ(sheet.text(2, i + 3), QLatin1String(left[i][1])) << left[i][0];
        EXPECT_EQ(sheet.text(4, i + 3), QLatin1String(right[i][0]));
        EXPECT_EQ(sheet.text(5, i + 3), QLatin1String(right[i][1])) << right[i][0];
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(SummaryFigures, PreviousDayIsTheLastRoundOfTheDayBefore)
{
    EXPECT_EQ(prevDay(1), QStringLiteral("$1,000")); // first day: counted from zero
    EXPECT_EQ(prevDay(2), QStringLiteral("$1,500")); // round 1 shares its day
    EXPECT_EQ(prevDay(3), QStringLiteral("$1,100")); // 2600 - round 2, not round 1
    EXPECT_EQ(prevDay(4), QStringLiteral("$900"));
    EXPECT_EQ(prevDay(5), QStringLiteral("-$400")); // 2000 - round 4
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(SummaryFigures, UnreadableFiguresKeepTheirCells)
{
    SummarySheet sheet;
    FillSummary(*db, QStringLiteral("6"), sheet, prompter);
    run({"DROP TABLE [Bidders Raising Own High Bid]", "DELETE FROM [Bidders] WHERE [Round] = 4"});
    FillSummary(*db, QStringLiteral("4"), sheet, prompter);
    EXPECT_EQ(sheet.text(3, 2), QStringLiteral("Round 4"));
    EXPECT_EQ(sheet.text(2, 6), QStringLiteral("$2,400"));
    EXPECT_EQ(sheet.text(5, 11), QStringLiteral("0"));    // no bid of more than one increment
    EXPECT_EQ(sheet.text(5, 12), QStringLiteral("3"));    // no table: round 6's figure stays
    EXPECT_EQ(sheet.text(5, 8), QStringLiteral("1,750")); // no bidders: the sum is null
    EXPECT_TRUE(prompter.messages.empty());

    // A round that is not a number is never pasted into a statement: nor are
    // digits of other scripts (Arabic-Indic three, fullwidth three).
    for (const QString& round :
         {QStringLiteral("4 OR 1=1"), QStringLiteral("\u0663"), QStringLiteral("\uFF13")}) {
        FillSummary(*db, round, sheet, prompter);
        EXPECT_EQ(sheet.text(3, 2), QStringLiteral("Round 4")) << round.toStdString();
    }
}

TEST_F(SummaryFigures, MissingTablesAreReportedOnceEach)
{
    run({"DELETE FROM [Markets]"});
    EXPECT_EQ(GetAuction(*db, prompter), 0);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral("Error 3021: No current record."));
    EXPECT_TRUE(prompter.messages[0].isError);

    run({"DROP TABLE [Round Statistics]"});
    SummarySheet sheet;
    FillSummary(*db, QStringLiteral("6"), sheet, prompter);
    // Only the previous-day change reports; its cell is written empty.
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_TRUE(prompter.messages[1].text.startsWith(QStringLiteral("Error 3078: ")));
    EXPECT_EQ(sheet.text(2, 9), QString());
    EXPECT_EQ(sheet.text(2, 6), QString());
    EXPECT_EQ(sheet.text(5, 8), QStringLiteral("1,750"));
}

TEST(SummaryFormats, MoneyAndCounts)
{
    EXPECT_EQ(formatMoney(0), QStringLiteral("$0"));
    EXPECT_EQ(formatMoney(500), QStringLiteral("$500"));
    EXPECT_EQ(formatMoney(999.5), QStringLiteral("$1,000"));
    // Halves away from zero, as the format rounds: not to the even neighbour.
    EXPECT_EQ(formatMoney(2.5), QStringLiteral("$3"));
    EXPECT_EQ(formatMoney(-2.5), QStringLiteral("-$3"));
    EXPECT_EQ(formatCount(1000.5), QStringLiteral("1,001"));
    EXPECT_EQ(formatMoney(1234567), QStringLiteral("$1,234,567"));
    EXPECT_EQ(formatMoney(-1234567), QStringLiteral("-$1,234,567"));
    EXPECT_EQ(formatMoney(-0.4), QStringLiteral("$0"));
    EXPECT_EQ(formatMoney(123456789012345.0), QStringLiteral("$123,456,789,012,345"));
    EXPECT_EQ(formatCount(0), QStringLiteral("0"));
    EXPECT_EQ(formatCount(100000), QStringLiteral("100,000"));
    EXPECT_EQ(formatCount(-1000), QStringLiteral("-1,000"));
    EXPECT_FALSE(countText(QVariant()).has_value());
    EXPECT_FALSE(moneyText(QStringLiteral("n/a")).has_value());
    EXPECT_EQ(*countText(QStringLiteral("42")), QStringLiteral("42"));
}

TEST(SummaryCli, PrintsTheFiguresOfTheNewestRound)
{
    test::TempDir dir;
    auto db = store::Database::create(dir.file(QStringLiteral("A.mdb")));
    db->execute(QStringLiteral("CREATE TABLE [sysRounds] ([Round] Number)"));
    db->execute(QStringLiteral("CREATE TABLE [Markets] ([Auction ID] Number)"));
    db->execute(QStringLiteral("CREATE TABLE [Round Statistics] ([Round] Number, [Round Date] DateTime, "
                               "[Net Bids] Currency, [New Bids] Number)"));
    db->execute(QStringLiteral("INSERT INTO [Markets] VALUES (12)"));
    db->execute(QStringLiteral("INSERT INTO [sysRounds] VALUES (1), (2)"));
    db->execute(QStringLiteral(
        "INSERT INTO [Round Statistics] VALUES (1, #3/2/2026#, 10, 1), (2, #3/3/2026#, 2500, 2)"));
    db->close();

    QProcess cli;
    cli.start(QStringLiteral(QV_CLI_PATH), {QStringLiteral("summary"), dir.file(QStringLiteral("A.mdb"))});
    ASSERT_TRUE(cli.waitForFinished(60000));
    const QStringList lines = QString::fromUtf8(cli.readAllStandardOutput()).split(QLatin1Char('\n'));
    EXPECT_EQ(cli.exitCode(), 0);
    ASSERT_EQ(lines.size(), 23); // two headings, twenty figures, the final newline
    EXPECT_EQ(lines[0], QStringLiteral("Auction 12"));
    EXPECT_EQ(lines[1], QStringLiteral("Round 2"));
    // The round statistics lack most columns: that statement fails as a whole.
    EXPECT_EQ(lines[2], QStringLiteral("Round Date\t"));
    EXPECT_EQ(lines[5], QStringLiteral("Net Bids\t"));
    EXPECT_EQ(lines[8], QStringLiteral("Change in Net Prev Day\t$2,490"));
    EXPECT_EQ(lines[21], QStringLiteral("Bidders Raising Own High Bid\t"));

    for (const QString& round : {QStringLiteral("1;DROP"), QStringLiteral("\u0662")}) {
        cli.start(QStringLiteral(QV_CLI_PATH),
                  {QStringLiteral("summary"), dir.file(QStringLiteral("A.mdb")), round});
        ASSERT_TRUE(cli.waitForFinished(60000));
        EXPECT_EQ(cli.exitCode(), 2) << round.toStdString();
    }
}
