// The analyses end to end on a small auction: dialogs and messages scripted,
// the spreadsheet application our workbook model.
#include "analysis/core/analysis_statements.h"
#include "analysis/core/pivot_analysis.h"
#include "analysis/core/pivot_table.h"
#include "analysis/core/pivot_text.h"
#include "analysis/core/workbook.h"
#include "store/auction_schema.h"
#include "store/database.h"
#include "store/dialect/translator.h"
#include "support/bid_auction.h"
#include "support/scripted_analysis_dialogs.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace qv::analysis {
namespace {

const QStringList bidColumns = {
    QStringLiteral("Auction ID"),       QStringLiteral("Round"),         QStringLiteral("License Name"),
    QStringLiteral("Market"),           QStringLiteral("Block"),         QStringLiteral("Submarket"),
    QStringLiteral("Market Name"),      QStringLiteral("Bidder"),        QStringLiteral("Increments of Bid"),
    QStringLiteral("Gross Bid Amount"), QStringLiteral("Net Bid Amount")};

class PivotAnalysisTest : public ::testing::Test {
protected:
    void SetUp() override { database = store::Database::open(test::makeBidAuction(folder.path())); }

    AnalysisOutcome run(AnalysisKind kind)
    {
        AnalysisHost host{[this]() -> store::Database& { return *database; }, dialogs, prompter,
                          [this]() -> SpreadsheetApplication& {
                              ++spreadsheetAsked;
                              return workbooks;
                          }};
        return runPivotAnalysis(kind, host);
    }

    // Column values of Sheet1's data rows.
    QStringList sheetColumn(int column, int book = 0) const
    {
        QStringList values;
        const Sheet& sheet = workbooks.workbook(book).sheets.front();
        for (int row = 2; row <= sheet.rowCount(); ++row)
            values << sheet.cell(row, column).toString();
        return values;
    }

    test::TempDir folder;
    store::DatabasePtr database;
    test::ScriptedAnalysisDialogs dialogs;
    test::ScriptedPrompter prompter;
    WorkbookModel workbooks;
    int spreadsheetAsked = 0;
};

TEST_F(PivotAnalysisTest, MarketsAnalysisCopiesTheBidsAndSetsUpThePivot)
{
    dialogs.roundEntries = {{QStringLiteral("2"), QStringLiteral("3")}};
    dialogs.choose = {QStringLiteral("A-1"), QStringLiteral("B-2")};
    ASSERT_EQ(run(AnalysisKind::Markets), AnalysisOutcome::Built);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(dialogs.prompt, QStringLiteral("Select the Licenses to Analyze"));
    QStringList offered = dialogs.offered;
    offered.sort();
    EXPECT_EQ(offered, (QStringList{QStringLiteral("A-1"), QStringLiteral("B-2")}));

    ASSERT_EQ(workbooks.workbookCount(), 1);
    const Workbook& book = workbooks.workbook(0);
    const Sheet& sheet = book.sheets.front();
    for (int c = 0; c < bidColumns.size(); ++c)
        EXPECT_EQ(sheet.cell(1, c + 1).toString(), bidColumns[c]);
    // Rounds 2 and 3: five bids, by market; numbers stay numbers.
    EXPECT_EQ(sheet.rowCount(), 6);
    EXPECT_EQ(sheetColumn(4), (QStringList{QStringLiteral("M1"), QStringLiteral("M1"), QStringLiteral("M1"),
                                           QStringLiteral("M1"), QStringLiteral("M2")}));
    EXPECT_EQ(sheet.cell(2, 2).typeId(), QMetaType::Int);

    // Progress: one step a header cell, a row and a pivot step, out of R + C + 14.
    EXPECT_EQ(dialogs.progressCaption, QStringLiteral("Pivot Table Progress"));
    EXPECT_EQ(dialogs.progressMaximum, 5 + 11 + 14);
    EXPECT_EQ(dialogs.progressValue, 5 + 11 + 12);
    EXPECT_FALSE(dialogs.progressOpen);

    ASSERT_EQ(book.pivots.size(), 1u);
    const PivotDefinition& pivot = book.pivots.front();
    EXPECT_EQ(pivot.name, QStringLiteral("PivotTable1"));
    EXPECT_EQ(pivot.rowFields, QStringList{QStringLiteral("Round")});
    EXPECT_EQ(pivot.columnFields, bidColumns.mid(3, 6));
    EXPECT_EQ(pivot.dataFields, QStringList{QStringLiteral("Gross Bid Amount")});
    EXPECT_EQ(pivot.field(QStringLiteral("Gross Bid Amount"))->caption,
              QStringLiteral("Sum of Gross Bid Amount"));
    // Amounts, on the sheet and in the sums, show their thousands; nothing else does.
    EXPECT_EQ(pivot.field(QStringLiteral("Gross Bid Amount"))->numberFormat, QStringLiteral("#,##0"));
    for (int c = 1; c <= 12; ++c)
        EXPECT_EQ(sheet.numberFormat(c), c == 10 || c == 11 ? QStringLiteral("#,##0") : QString()) << c;
    EXPECT_FALSE(pivot.columnGrand);
    EXPECT_FALSE(pivot.rowGrand);
    for (const QString& field : QStringList{QStringLiteral("Round")} + bidColumns.mid(3, 6))
        EXPECT_FALSE(pivot.field(field)->subtotals) << field.toStdString();
    EXPECT_TRUE(workbooks.isVisible());
    EXPECT_EQ(prompter.busyDepth, 0);
    // The round dialog keeps the accepted range for the next analysis.
    EXPECT_EQ(dialogs.roundsUnloaded, 0);
}

TEST_F(PivotAnalysisTest, NetAndGrossSumTheirOwnAmountsAndDuplicatesAddUp)
{
    dialogs.roundEntries = {{QStringLiteral("2"), QString(), false}};
    dialogs.choose = {QStringLiteral("A-1")};
    ASSERT_EQ(run(AnalysisKind::Markets), AnalysisOutcome::Built);
    EXPECT_EQ(dialogs.progressValue, 3 + 11 + 13);
    dialogs.roundEntries = {{QStringLiteral("2"), QString(), true}};
    ASSERT_EQ(run(AnalysisKind::Markets), AnalysisOutcome::Built);
    // The second analysis adds a second workbook to the same application.
    ASSERT_EQ(workbooks.workbookCount(), 2);
    EXPECT_EQ(spreadsheetAsked, 2);

    const PivotResult net = computePivot(workbooks.workbook(0), workbooks.workbook(0).pivots.front());
    const PivotResult gross = computePivot(workbooks.workbook(1), workbooks.workbook(1).pivots.front());
    EXPECT_EQ(net.dataCaption, QStringLiteral("Sum of Net Bid Amount"));
    EXPECT_EQ(gross.dataCaption, QStringLiteral("Sum of Gross Bid Amount"));
    // Round 2 on A-1: Kestrel's two bids of one increment, O'Brien's of two.
    ASSERT_EQ(gross.rowCount(), 1);
    ASSERT_EQ(gross.columnCount(), 2);
    EXPECT_EQ(gross.columnItem(0, 4).display(), QStringLiteral("Kestrel"));
    EXPECT_EQ(gross.value(0, 0), 1100.0 + 1150.0);
    EXPECT_EQ(gross.value(0, 1), 1300.0);
    EXPECT_EQ(net.value(0, 0), 990.0 + 1035.0);
    EXPECT_EQ(net.value(0, 1), 975.0);
}

TEST_F(PivotAnalysisTest, BiddersAnalysisFindsANameWithAQuoteAndForgetsTheRange)
{
    dialogs.roundEntries = {{QStringLiteral("1"), QStringLiteral("4"), false}};
    dialogs.choose = {QStringLiteral("O'Brien Mobile")};
    ASSERT_EQ(run(AnalysisKind::Bidders), AnalysisOutcome::Built)
        << prompter.messages.front().text.toStdString();
    EXPECT_EQ(dialogs.prompt, QStringLiteral("Select the Bidders to Analyze"));
    EXPECT_EQ(dialogs.roundsUnloaded, 1);
    // Round 4's bid on B-2 has no [Markets] row: the join leaves it out.
    EXPECT_EQ(sheetColumn(8), QStringList{QStringLiteral("O'Brien Mobile")});
    const PivotResult pivot = computePivot(workbooks.workbook(0), workbooks.workbook(0).pivots.front());
    EXPECT_EQ(pivot.dataCaption, QStringLiteral("Sum of Net Bid Amount"));
}

// The criteria list in the engine's order: names without regard to case (a
// case-sensitive sort puts "Zeta" before "apex" and "Heron").
TEST_F(PivotAnalysisTest, CriteriaListsAreInTheEnginesOrder)
{
    database->execute(
        QStringLiteral("INSERT INTO [All Bids] VALUES (5, 2, 'a-10', 'M1', 'A', 1, 'Zeta', 1, 1, 1)"));
    database->execute(
        QStringLiteral("INSERT INTO [All Bids] VALUES (5, 2, 'A-9', 'M1', 'A', 1, 'apex', 1, 1, 1)"));
    const struct {
        AnalysisKind kind;
        QStringList offered;
    } cases[] = {
        {AnalysisKind::Bidders,
         {QStringLiteral("apex"), QStringLiteral("Heron"), QStringLiteral("Kestrel"),
          QStringLiteral("O'Brien Mobile"), QStringLiteral("Zeta")}},
        {AnalysisKind::Markets,
         {QStringLiteral("A-1"), QStringLiteral("a-10"), QStringLiteral("A-9"), QStringLiteral("B-2")}},
    };
    for (const auto& c : cases) {
        dialogs.roundEntries = {{QStringLiteral("1"), QStringLiteral("4")}};
        dialogs.cancelCriteria = true;
        EXPECT_EQ(run(c.kind), AnalysisOutcome::Ended);
        EXPECT_EQ(dialogs.offered, c.offered);
    }
}

TEST_F(PivotAnalysisTest, RoundsAnalysisTakesEveryBidByRoundWithoutACriteriaList)
{
    dialogs.roundEntries = {{QStringLiteral("1"), QStringLiteral("9")}};
    prompter.answers = {Answer::Yes};
    ASSERT_EQ(run(AnalysisKind::Rounds), AnalysisOutcome::Built);
    EXPECT_TRUE(dialogs.offered.isEmpty());
    ASSERT_EQ(prompter.messages.size(), 1u); // the ending-round question
    EXPECT_EQ(sheetColumn(2), (QStringList{QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("2"),
                                           QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("3"),
                                           QStringLiteral("3"), QStringLiteral("4")}));
    // The bid without a net amount is an empty cell, not zero.
    const PivotResult pivot = computePivot(workbooks.workbook(0), workbooks.workbook(0).pivots.front());
    EXPECT_EQ(pivot.rowCount(), 4);
}

TEST_F(PivotAnalysisTest, NothingChosenOrCancelledEndsSilentlyWithoutAWorkbook)
{
    dialogs.roundEntries = {{QStringLiteral("1"), QStringLiteral("2")}};
    EXPECT_EQ(run(AnalysisKind::Markets), AnalysisOutcome::Ended);
    // Only the bidders of the range are offered: round 2 has none of Heron's bids.
    dialogs.roundEntries = {{QStringLiteral("2"), QStringLiteral("2")}};
    dialogs.choose = {QStringLiteral("Kestrel")};
    dialogs.cancelCriteria = true;
    EXPECT_EQ(run(AnalysisKind::Bidders), AnalysisOutcome::Ended);
    QStringList offered = dialogs.offered;
    offered.sort();
    EXPECT_EQ(offered, (QStringList{QStringLiteral("Kestrel"), QStringLiteral("O'Brien Mobile")}));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(spreadsheetAsked, 0);
    EXPECT_EQ(prompter.busyDepth, 0);
}

TEST_F(PivotAnalysisTest, ARangeWithoutBidsEndsInTheErrorReport)
{
    // The candidate list is empty (markets), or the analysis query is (rounds). Between takes
    // its bounds in either order, so To below From is no empty range: round 0 is.
    dialogs.roundEntries = {{QStringLiteral("0"), QString()}};
    EXPECT_EQ(run(AnalysisKind::Markets), AnalysisOutcome::Failed);
    dialogs.roundEntries = {{QStringLiteral("0"), QStringLiteral("0")}};
    EXPECT_EQ(run(AnalysisKind::Rounds), AnalysisOutcome::Failed);
    ASSERT_EQ(prompter.messages.size(), 2u);
    for (const auto& shown : prompter.messages) {
        EXPECT_EQ(shown.text, QStringLiteral("Error 3021: No current record."));
        EXPECT_TRUE(shown.isError);
        EXPECT_EQ(shown.title, QStringLiteral("Quorvane"));
    }
    EXPECT_EQ(spreadsheetAsked, 0);
    EXPECT_EQ(prompter.busyDepth, 0);
    EXPECT_FALSE(dialogs.progressOpen);
}

TEST_F(PivotAnalysisTest, AnEngineErrorMidwayLeavesTheApplicationHidden)
{
    database->execute(QStringLiteral("DROP TABLE [Markets]"));
    dialogs.roundEntries = {{QStringLiteral("1"), QStringLiteral("4")}};
    EXPECT_EQ(run(AnalysisKind::Rounds), AnalysisOutcome::Failed);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages.front().text.startsWith(QStringLiteral("Error ")));
    EXPECT_FALSE(workbooks.isVisible());
    EXPECT_EQ(prompter.busyDepth, 0);
}

// Each bid's [Markets] row is found through the index on round and licence,
// not searched among all of its round's licences (35 s on a large auction).
TEST_F(PivotAnalysisTest, EachBidFindsItsMarketsRowThroughTheLicenceIndex)
{
    database->execute(store::schema::CreateSuppliedTables);
    database->execute(store::schema::insertSuppliedTable(QStringLiteral("All Bids")));
    database->execute(store::schema::insertSuppliedTable(QStringLiteral("Markets")));
    store::schema::ensureRoundIndexes(*database);
    const QString list = inList({QStringLiteral("A-1")});
    for (const AnalysisKind kind : {AnalysisKind::Markets, AnalysisKind::Bidders, AnalysisKind::Rounds}) {
        const QByteArray sql = "EXPLAIN QUERY PLAN " +
                               store::dialect::translate(analysisStatement(kind, 1, 4, list)).sql.toUtf8();
        sqlite3_stmt* plan = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(database->handle(), sql.constData(), -1, &plan, nullptr), SQLITE_OK);
        QStringList steps;
        while (sqlite3_step(plan) == SQLITE_ROW)
            steps << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(plan, 3)));
        sqlite3_finalize(plan);
        EXPECT_TRUE(steps.contains(QStringLiteral("SEARCH m USING INDEX ") +
                                   store::schema::MarketsLicenceIndex +
                                   QStringLiteral(" (Round=? AND License Name=?)")))
            << steps.join(QLatin1Char('\n')).toStdString();
    }
}

} // namespace
} // namespace qv::analysis
