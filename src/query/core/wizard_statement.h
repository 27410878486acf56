#pragma once

#include "query/core/table_actions.h"
#include "store/database.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace qv::query {

// What the table wizard builds a table from.
struct WizardChoices {
    QStringList columns;               // the chosen columns, in order
    QString tableName;                 // the new table's name
    bool nameTyped = true;             // typed in the dialog (not asked for afterwards)
    QString sourceTable;               // the table on show
    QList<FilterCondition> conditions; // up to four
    QStringList joiners;               // And/Or before conditions 2, 3, 4
    QList<SortColumn> sortColumns;
};

// The SELECT ... INTO statement, blanks and closing ";" included:
// SELECT [Round], [Bidder] INTO [MyTable] FROM [All Bids]  WHERE [Round] >=5 And [Bidder] ='X' ORDER BY
// [Round] DESC,  [Bidder]; Text values stand in apostrophes, an apostrophe inside doubled.
QString wizardStatement(const WizardChoices& choices);

// The rows that list the new table and keep its statement for the rebuild
// after each import; the statement is stored exactly as it runs.
QString wizardTableListing(const QString& tableName);
QString wizardDefinition(const QString& tableName, const QString& statement);

// Runs the statement, then lists the table and records its statement, in
// that order and all or nothing; engine errors pass to the caller.
void buildWizardTable(store::Database& database, const QString& tableName, const QString& statement);

} // namespace qv::query
