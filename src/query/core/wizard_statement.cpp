#include "query/core/wizard_statement.h"

#include "store/savepoint.h"
#include "store/sql_quote.h"
#include "store/user_tables.h"

namespace qv::query {

QString wizardStatement(const WizardChoices& choices)
{
    QString s = QStringLiteral("SELECT ");
    for (qsizetype i = 0; i < choices.columns.size(); ++i) {
        s += store::bracketName(choices.columns[i]);
        if (i + 1 < choices.columns.size())
            s += QStringLiteral(", ");
    }
    s += QStringLiteral(" INTO ") + store::bracketName(choices.tableName) +
         (choices.nameTyped ? QStringLiteral(" ") : QString());
    s += QStringLiteral(" FROM ") + store::bracketName(choices.sourceTable) + QStringLiteral(" ");
    for (qsizetype k = 0; k < choices.conditions.size(); ++k) {
        const FilterCondition& condition = choices.conditions[k];
        if (!condition.filled())
            continue;
        // Only the first row writes WHERE.
        s += k == 0 ? QStringLiteral(" WHERE ")
                    : QLatin1Char(' ') + choices.joiners.value(k - 1) + QLatin1Char(' ');
        s += store::bracketName(condition.column) + QLatin1Char(' ') + condition.op +
             conditionValue(condition, QLatin1Char('\''));
    }
    for (qsizetype i = 0; i < choices.sortColumns.size(); ++i) {
        if (i == 0)
            s += QStringLiteral(" ORDER BY");
        s += QLatin1Char(' ') + store::bracketName(choices.sortColumns[i].column);
        if (!choices.sortColumns[i].ascending)
            s += QStringLiteral(" DESC");
        if (i + 1 < choices.sortColumns.size())
            s += QStringLiteral(", ");
    }
    return s + QLatin1Char(';');
}

QString wizardTableListing(const QString& tableName)
{
    return QStringLiteral("INSERT INTO [sysTables] (TableName) VALUES (") + store::quoteText(tableName) +
           QLatin1Char(')');
}

QString wizardDefinition(const QString& tableName, const QString& statement)
{
    // The statement between double quotes keeps its apostrophes; a double
    // quote inside it is doubled, which reading the literal undoes.
    return QStringLiteral("INSERT INTO [sysWizard] ([Table Name], [SQL String]) VALUES (") +
           store::quoteText(tableName) + QStringLiteral(", ") +
           store::quoteText(statement, QLatin1Char('"')) + QLatin1Char(')');
}

void buildWizardTable(store::Database& database, const QString& tableName, const QString& statement)
{
    // The rebuild after every import would refuse such a name each time.
    store::requireNewTableName(database, tableName);
    // A table that is built is listed and rebuilt after imports, or not built at all.
    store::atomically(database.handle(), QStringLiteral("qv_wizard"), [&] {
        database.execute(statement);
        database.execute(wizardTableListing(tableName));
        database.execute(wizardDefinition(tableName, statement));
    });
}

} // namespace qv::query
