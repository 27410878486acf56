// The table wizard of the grid window: a new table from chosen columns of the
// table on show, recorded so that every import rebuilds it.
#include "common/error.h"
#include "common/prompter.h"
#include "grid/core/current_database.h"
#include "grid/frm_flex_grid.h"
#include "grid/frm_table_actions.h"
#include "query/core/wizard_statement.h"

#include <optional>

namespace qv::grid {

void frmFlexGrid::TableWiz()
{
    try {
        if (wizardDialog == nullptr)
            wizardDialog = newActionsDialog();
        wizardDialog->addSourceColumns(Data1->fieldNames());
        wizardDialog->showTab(frmTableActions::WizardTab);
        wizardDialog->showModal();
        if (wizardDialog->cancelled()) {
            wizardDialog->setCancelled(false);
            delete wizardDialog;
            wizardDialog = nullptr;
            return;
        }
        HandelWiz();
    } catch (const Error& error) {
        prompter_.error(error, ErrorLayout::Report);
    }
}

void frmFlexGrid::HandelWiz()
{
    if (wizardDialog == nullptr)
        return;
    if (wizardDialog->targetColumns().isEmpty()) {
        // Nothing to build; a fresh dialog next time, so that the columns are
        // not listed twice.
        delete wizardDialog;
        wizardDialog = nullptr;
        return;
    }
    BusyScope busy(prompter_);
    try {
        query::WizardChoices choices;
        choices.columns = wizardDialog->targetColumns();
        choices.tableName = wizardDialog->tableName();
        choices.nameTyped = !choices.tableName.isEmpty();
        if (!choices.nameTyped) {
            // Asked until a name comes back; Cancel builds nothing and says nothing.
            prompter_.setBusy(false);
            std::optional<QString> name;
            do
                name = prompter_.input(QStringLiteral("Please Enter Table Name"),
                                       QStringLiteral("Name New Table"));
            while (name && name->trimmed().isEmpty());
            prompter_.setBusy(true);
            if (!name) {
                delete wizardDialog;
                wizardDialog = nullptr;
                return;
            }
            choices.tableName = *name;
            wizardDialog->setTableName(choices.tableName);
        }
        choices.sourceTable = ddlTableName->currentText();
        choices.conditions = wizardDialog->conditions();
        choices.joiners = wizardDialog->joiners();
        choices.sortColumns = wizardDialog->sortColumns();
        const QString statement = query::wizardStatement(choices);
        delete wizardDialog;
        wizardDialog = nullptr;

        query::buildWizardTable(currentDatabase(), choices.tableName, statement);
    } catch (const Error& error) {
        prompter_.errorWhileBusy(error, ErrorLayout::Report);
    }
}

} // namespace qv::grid
