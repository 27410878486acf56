// Export to text: the rows on show, in the grid's order, to a tab-delimited file.
#include "common/error.h"
#include "common/prompter.h"
#include "grid/core/tab_export.h"
#include "grid/frm_flex_grid.h"

namespace qv::grid {

namespace {

// The grid's rows as it shows them now (after any sort and filter), under
// the field names of the record set on show.
TabRows shownRows(const DataControl& data, SpreadGrid& grid)
{
    const RecordsetModel& model = grid.recordsetModel();
    TabRows rows;
    rows.header = data.fieldNames();
    rows.rowCount = model.rowCount();
    rows.columnCount = model.columnCount();
    rows.cell = [&model](int row, int column) { return model.cellText(row, column); };
    return rows;
}

} // namespace

void frmFlexGrid::DBSaveAs()
{
    QString path;
    try {
        FileChoice choice;
        choice.filter = QStringLiteral("Tab Delimited Text (*.txt)|*.txt|");
        choice.fileName = ddlTableName->currentText();
        choice.cancelError = true;
        path = prompter_.saveFile(choice);
    } catch (const Error&) {
        return; // cancelled: nothing at all
    }
    if (path.isEmpty())
        return;
    prompter_.setBusy(true);
    try {
        exportTabFile(path, shownRows(*Data1, *MSFlexGrid1));
        prompter_.setBusy(false);
        prompter_.message(QStringLiteral("       Export completed."), QStringLiteral("Operation Complete"));
    } catch (const Error& error) {
        prompter_.setBusy(false);
        prompter_.error(error, ErrorLayout::Export);
    }
}

} // namespace qv::grid
