// Runs a query the SQL query wizard hands over, for the wizard's Run button.
#include "common/error.h"
#include "common/prompter.h"
#include "grid/frm_flex_grid.h"
#include "query/core/sql_query.h"
#include "store/session.h"

namespace qv::grid {

void frmFlexGrid::TableSql2(const query::SqlQuery& clauses)
{
    if (clauses.select.isEmpty() || clauses.into.isEmpty() || clauses.from.isEmpty()) {
        prompter_.errorMessage(QStringLiteral("SELECT, INTO, and FROM are required fields."),
                               QStringLiteral("Error"), Icon::Exclamation);
        return;
    }
    prompter_.setBusy(true);
    try {
        const store::DatabasePtr database = session().CurrentDatabase;
        if (database == nullptr)
            throw objectNotSet(Advice::OpenAuction);
        query::ShownTable window;
        window.shows = [this](const QString& into) { return ddlTableName->currentText() == into; };
        // The first table takes the place of the one to be replaced, which is then free.
        window.switchAway = [this] {
            if (ddlTableName->count() > 0)
                ddlTableName->setCurrentIndex(0);
        };
        const QString listed = query::runSqlQuery(*database, clauses, window);
        prompter_.setBusy(false);
        prompter_.message(query::finishedBuildingText(listed), QString());
    } catch (const Error& error) {
        prompter_.setBusy(false);
        prompter_.error(error, ErrorLayout::Report);
    }
}

} // namespace qv::grid
