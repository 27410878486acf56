#include "analysis/core/pivot_analysis.h"

#include "analysis/core/analysis_dialogs.h"
#include "analysis/core/analysis_statements.h"
#include "analysis/core/round_range.h"
#include "analysis/core/spreadsheet_application.h"
#include "common/error.h"
#include "common/prompter.h"
#include "store/database.h"

namespace qv::analysis {

namespace {

const QString pivotName = QStringLiteral("PivotTable1");
const QString amountFormat = QStringLiteral("#,##0");

// The progress window's count: one step per header cell, per row and per
// pivot step, out of R + C + 14.
class ProgressCounter {
public:
    explicit ProgressCounter(AnalysisDialogs& dialogs) : dialogs_(dialogs) {}
    void advance() { dialogs_.setProgress(static_cast<double>(++count_)); }

private:
    AnalysisDialogs& dialogs_;
    int count_ = 0;
};

// The licences or bidders that bid in the range, as the user picks them.
// Nothing when the user cancels or picks none.
std::optional<QStringList> askCriteria(AnalysisKind kind, store::Database& database, const RoundRange& range,
                                       AnalysisDialogs& dialogs)
{
    const AnalysisProfile& profile = profileOf(kind);
    auto candidates = database.openRecordset(candidateStatement(kind, range.from, range.to),
                                             store::RecordsetType::Snapshot);
    candidates->moveFirst(); // no bid in the range: no current record
    QStringList items;
    while (!candidates->eof()) {
        items << candidates->value(profile.criteriaColumn).toString();
        candidates->moveNext();
    }
    candidates.reset();
    dialogs.fillCriteria(items, profile.criteriaPrompt);
    dialogs.showCriteria();
    if (dialogs.criteriaCancelled())
        return std::nullopt;
    QStringList chosen = dialogs.selectedCriteria();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

void buildPivot(SpreadsheetApplication& app, bool gross, ProgressCounter& progress)
{
    app.selectColumns(QStringLiteral("A:K"));
    progress.advance();
    app.pivotTableWizard(SourceTypeDatabase, QStringLiteral("Sheet1!C1:C11"), QString(), pivotName);
    progress.advance();
    const QStringList axisFields = {QStringLiteral("Round"),
                                    QStringLiteral("Market"),
                                    QStringLiteral("Block"),
                                    QStringLiteral("Submarket"),
                                    QStringLiteral("Market Name"),
                                    QStringLiteral("Bidder"),
                                    QStringLiteral("Increments of Bid")};
    PivotSubtotals none{};
    for (const QString& field : axisFields) {
        app.setPivotFieldSubtotals(pivotName, field, none);
        progress.advance();
    }
    app.addPivotFields(pivotName, {QStringLiteral("Round")}, axisFields.mid(1));
    progress.advance();
    const QString source = gross ? QStringLiteral("Gross Bid Amount") : QStringLiteral("Net Bid Amount");
    const QString caption = QStringLiteral("Sum of ") + source;
    app.setPivotFieldOrientation(pivotName, source, PivotOrientation::Data);
    app.setPivotFieldName(pivotName, source, caption);
    app.setPivotFieldFunction(pivotName, caption, PivotFunction::Sum);
    app.setPivotFieldNumberFormat(pivotName, caption, amountFormat);
    if (!gross)
        progress.advance();
    app.setColumnGrand(pivotName, false);
    progress.advance();
    app.setRowGrand(pivotName, false);
    progress.advance();
}

} // namespace

int importedRoundCount(store::Database& database)
{
    auto rounds = database.openRecordset(QStringLiteral("SELECT [Round] FROM [sysRounds]"),
                                         store::RecordsetType::Snapshot);
    return rounds->recordCount();
}

AnalysisOutcome runPivotAnalysis(AnalysisKind kind, const AnalysisHost& host)
{
    AnalysisDialogs& dialogs = host.dialogs;
    Prompter& prompter = host.prompter;
    bool busy = false;
    bool progressShown = false;
    try {
        // The auction's rounds as they are when the range is checked, not as
        // any round list was last filled.
        const std::optional<RoundRange> range = askRoundRange(
            kind, [&host] { return importedRoundCount(host.database()); }, dialogs, prompter);
        if (!range)
            return AnalysisOutcome::Ended;
        const bool gross = dialogs.grossSelected();
        if (profileOf(kind).unloadsRoundsOnAccept)
            dialogs.unloadRounds();

        store::Database& database = host.database();
        QString chosenList;
        if (kind != AnalysisKind::Rounds) {
            const std::optional<QStringList> chosen = askCriteria(kind, database, *range, dialogs);
            if (!chosen)
                return AnalysisOutcome::Ended;
            chosenList = inList(*chosen);
        }
        prompter.setBusy(true);
        busy = true;

        auto bids = database.openRecordset(analysisStatement(kind, range->from, range->to, chosenList),
                                           store::RecordsetType::Snapshot);
        bids->moveFirst(); // no bid chosen: no current record
        bids->moveLast();
        bids->moveFirst();
        const int rowCount = bids->recordCount();
        const int columnCount = bids->fieldCount();
        dialogs.openProgress(static_cast<double>(rowCount + columnCount + 14),
                             QStringLiteral("Pivot Table Progress"));
        progressShown = true;
        ProgressCounter progress(dialogs);

        SpreadsheetApplication& app = host.spreadsheet();
        app.addWorkbook();
        app.activateSheet(QStringLiteral("sheet1"));
        for (int i = 0; i < columnCount; ++i) {
            app.setCell(1, i + 1, bids->fieldName(i));
            progress.advance();
        }
        int row = 1;
        while (!bids->eof()) {
            ++row;
            for (int i = 0; i < columnCount; ++i)
                app.setCell(row, i + 1, bids->value(i));
            bids->moveNext();
            progress.advance();
        }
        bids.reset();
        // The amounts (gross and net) with their thousands marked; they stay numbers.
        app.setColumnsNumberFormat(QStringLiteral("J:K"), amountFormat);
        buildPivot(app, gross, progress);

        dialogs.closeProgress();
        progressShown = false;
        app.setVisible(true);
        prompter.setBusy(false);
        return AnalysisOutcome::Built;
    } catch (const Error& error) {
        if (busy)
            prompter.setBusy(false);
        if (progressShown)
            dialogs.closeProgress();
        prompter.error(error, ErrorLayout::Report, QStringLiteral("Quorvane"));
        return AnalysisOutcome::Failed;
    }
}

} // namespace qv::analysis
