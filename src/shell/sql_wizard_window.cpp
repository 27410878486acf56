#include "shell/sql_wizard_window.h"

#include "query/frm_sql.h"
#include "shell/window_placement.h"

namespace qv::shell {

void showSqlWizard(frmMain& main)
{
    auto* wizard = main.findChild<query::frmSql*>(QString(), Qt::FindDirectChildrenOnly);
    if (wizard == nullptr) {
        // A window of its own: the active grid window stays active in the frame.
        wizard = new query::frmSql(main.prompter(), &main);
        QObject::connect(wizard, &query::frmSql::runWanted, &main,
                         [&main](const query::SqlQuery& query) { main.runQuery(query); });
    }
    placeOnScreen(*wizard, main);
    wizard->show();
    wizard->raise();
    wizard->activateWindow();
}

} // namespace qv::shell
