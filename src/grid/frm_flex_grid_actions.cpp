// The grid window's sort, filter and reset, its selection statistics and
// frozen columns.
#include "common/error.h"
#include "common/prompter.h"
#include "grid/core/current_database.h"
#include "grid/core/selection_statistics.h"
#include "grid/core/table_statements.h"
#include "grid/frm_flex_grid.h"
#include "grid/frm_table_actions.h"
#include "query/core/table_actions.h"
#include "store/database.h"

namespace qv::grid {

namespace {

// Sets a sort or filter on the rows shown for one opening only: the set keeps
// none of it, whether the opening works or fails.
std::unique_ptr<store::Recordset> openDerived(store::Recordset& base, QString store::Recordset::*setting,
                                              const QString& value)
{
    const QString before = base.*setting;
    base.*setting = value;
    try {
        auto derived = base.openRecordset();
        base.*setting = before;
        return derived;
    } catch (...) {
        base.*setting = before;
        throw;
    }
}

} // namespace

frmTableActions* frmFlexGrid::newActionsDialog()
{
    auto* dialog = new frmTableActions(this);
    dialog->distinctValues = [this](const QString& column) { return distinctValuesOf(column); };
    return dialog;
}

std::optional<QStringList> frmFlexGrid::distinctValuesOf(const QString& column)
{
    const QString table = ddlTableName->currentText();
    if (column.isEmpty() || table.isEmpty())
        return std::nullopt;
    try {
        // Every round's values, whatever round is on show.
        return distinctValues(currentDatabase(), table, column);
    } catch (const Error& error) {
        prompter_.error(error, ErrorLayout::Report);
        return std::nullopt;
    }
}

void frmFlexGrid::showTableActions(int tab)
{
    try {
        if (!actionsPrepared) {
            if (actionsDialog == nullptr)
                actionsDialog = newActionsDialog();
            actionsDialog->prepareColumns(Data1->fieldNames());
            actionsPrepared = true;
        }
        actionsDialog->setWizardTabEnabled(false);
        actionsDialog->showTab(tab);
        actionsDialog->showModal();
        if (actionsDialog->cancelled()) {
            actionsDialog->setCancelled(false);
            return;
        }
        // A filter whose first row has no column is never applied.
        if (actionsDialog->filterChosen())
            HandelFlt();
        if (!actionsDialog->sortColumns().isEmpty())
            HandelSort();
    } catch (const Error& error) {
        prompter_.error(error, ErrorLayout::Report);
    }
}

void frmFlexGrid::TableSort()
{
    showTableActions(frmTableActions::SortTab);
}

void frmFlexGrid::TableFilt()
{
    showTableActions(frmTableActions::FilterTab);
}

void frmFlexGrid::carryActionsOver()
{
    if (actionsDialog == nullptr)
        return;
    if (actionsDialog->filterChosen())
        HandelFlt();
    if (!actionsDialog->sortColumns().isEmpty())
        HandelSort();
}

void frmFlexGrid::HandelFlt()
{
    if (ddlTableName->currentText().isEmpty() || ddlRoundNum->currentText().isEmpty() ||
        actionsDialog == nullptr || Data1->Recordset() == nullptr)
        return;
    BusyScope busy(prompter_);
    try {
        const QString expression =
            query::filterExpression(actionsDialog->conditions(), actionsDialog->joiners());
        if (!expression.isEmpty())
            showRows(openDerived(*Data1->Recordset(), &store::Recordset::filter, expression));
    } catch (const Error& error) {
        // The grid keeps the rows it showed.
        prompter_.errorWhileBusy(error, ErrorLayout::Generic);
    }
}

void frmFlexGrid::HandelSort()
{
    if (actionsDialog == nullptr || actionsDialog->sortColumns().isEmpty() || Data1->Recordset() == nullptr)
        return;
    BusyScope busy(prompter_);
    try {
        const QString specification = query::sortSpecification(actionsDialog->sortColumns());
        showRows(openDerived(*Data1->Recordset(), &store::Recordset::sort, specification));
    } catch (const Error& error) {
        prompter_.errorWhileBusy(error, ErrorLayout::Generic);
    }
}

void frmFlexGrid::TableReset()
{
    // Choosing the table again loads its stored rows and drops the choices.
    ddlTableName->setCurrentIndex(ddlTableName->currentIndex());
}

void frmFlexGrid::ComputeSelection(const QString& kind)
{
    try {
        MSFlexGrid1->gatherSelection();
        QList<SelectionBlock> blocks;
        for (int i = 0; i < MSFlexGrid1->selectionCount(); ++i) {
            MSFlexGrid1->setSelectionIndex(i);
            blocks.append({MSFlexGrid1->Col, MSFlexGrid1->Row, MSFlexGrid1->Col2, MSFlexGrid1->Row2});
        }
        // A whole column is read down from the record set, not through the rows kept for display.
        const RecordsetModel& cells = MSFlexGrid1->recordsetModel();
        std::function<QString(int)> walk;
        int walked = -1;
        const auto cell = [&](int col, int row) {
            if (col != walked) {
                walk = cells.columnWalk(col - 1);
                walked = col;
            }
            return walk(row - 1);
        };
        const std::optional<QString> shown = selectionStatistic(kind, blocks, cell, MSFlexGrid1->maxRows());
        // Said with what it is: "Sum: 14,066,000.00".
        if (shown) {
            emit statusTextWanted(3, kind + QStringLiteral(": ") + *shown);
            totalShown_ = true;
        }
    } catch (const Error& error) {
        prompter_.error(error, ErrorLayout::Command);
    }
}

void frmFlexGrid::FreezeCols()
{
    MSFlexGrid1->setColsFrozen(MSFlexGrid1->activeCol());
}

void frmFlexGrid::UnfreezeCols()
{
    MSFlexGrid1->setColsFrozen(0);
}

} // namespace qv::grid
