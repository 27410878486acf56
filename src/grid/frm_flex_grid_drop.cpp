// Drop Table: removes the user table on show, after the user confirms.
#include "common/error.h"
#include "grid/core/drop_table.h"
#include "grid/frm_flex_grid.h"
#include "store/session.h"

namespace qv::grid {

void frmFlexGrid::DropTable()
{
    const store::DatabasePtr database = session().CurrentDatabase;
    if (database == nullptr) {
        prompter_.error(objectNotSet(Advice::OpenAuction), ErrorLayout::Report);
        return;
    }
    const QString table = ddlTableName->currentText();
    // The grid shows sysTables while the table goes, so it holds the table no longer.
    const DropOutcome outcome = dropTableAsked(*database, prompter_, table, [this, &database] {
        showRows(database->openRecordset(QStringLiteral("sysTables"), store::RecordsetType::Snapshot));
    });
    if (outcome == DropOutcome::Dropped && ddlTableName->count() > 0)
        ddlTableName->setCurrentIndex(0);
}

} // namespace qv::grid
