// Runs the SQL query wizard's query on show, for the wizard's Run button.
#include "common/error.h"
#include "common/prompter.h"
#include "grid/frm_flex_grid.h"
#include "query/core/sql_query.h"
#include "store/session.h"

#include <QApplication>
#include <QLineEdit>

namespace qv::grid {

namespace {

// The clause boxes of the one wizard window, read by their names.
query::SqlQuery wizardClauses()
{
    query::SqlQuery clauses;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() != QLatin1String("frmSql"))
            continue;
        for (int digit = 0; digit <= 4; ++digit)
            if (auto* box = window->findChild<QLineEdit*>(QStringLiteral("txtSql") + QString::number(digit)))
                clauses.setClause(digit, box->text());
        break;
    }
    return clauses;
}

} // namespace

void frmFlexGrid::TableSql2()
{
    const query::SqlQuery clauses = wizardClauses();
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
