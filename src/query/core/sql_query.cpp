#include "query/core/sql_query.h"

#include "common/error.h"
#include "store/auction_schema.h"
#include "store/saved_query.h"
#include "store/user_tables.h"

namespace qv::query {

QString runSqlQuery(store::Database& database, const SqlQuery& query, const ShownTable& window)
{
    store::requireBuildableInto(database, query.into);
    const QString listed = store::schema::listedTableName(query.into);
    // The list shows the listed name; the Into text may carry brackets.
    if (window.shows && (window.shows(query.into) || window.shows(listed)) && window.switchAway)
        window.switchAway();
    for (int tries = 1;; ++tries) {
        try {
            return store::buildQueryTable(database, query);
        } catch (const Error& error) {
            if (tries >= maxQueryTries || error.number() != err::TableInUse || !window.switchAway)
                throw;
            window.switchAway();
        }
    }
}

QString finishedBuildingText(const QString& listedName)
{
    return QStringLiteral("     Finished building the table '") + listedName + QStringLiteral("'\r") +
           QStringLiteral("To view the table, select it from the\r") +
           QStringLiteral("         Table pull-down menu.");
}

} // namespace qv::query
