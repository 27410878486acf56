#include "grid/core/drop_table.h"

#include "common/error.h"
#include "store/sql_quote.h"
#include "store/user_tables.h"

namespace qv::grid {

void dropUserTable(store::Database& database, const QString& table)
{
    database.beginTrans();
    try {
        database.execute(QStringLiteral("DROP TABLE ") + store::bracketName(table));
        database.execute(QStringLiteral("DELETE [TableName] FROM [sysTables] WHERE [TableName] = ") +
                         store::quoteText(table));
        database.execute(QStringLiteral("DELETE * FROM [sysWizard] WHERE [Table Name] = ") +
                         store::quoteText(table));
        database.commitTrans();
    } catch (...) {
        database.rollback();
        throw;
    }
}

DropOutcome dropTableAsked(store::Database& database, Prompter& prompter, const QString& table,
                           const std::function<void()>& letGo)
{
    BusyScope busy(prompter);
    // Only a table the user built: never one of the round results files, the
    // program's own (sysRounds...) or the engine's.
    if (!store::isUserTable(database, table)) {
        prompter.setBusy(false);
        prompter.errorMessage(QStringLiteral("Access to ") + table + QStringLiteral(" denied."),
                              QStringLiteral("Access Denied"), Icon::Exclamation);
        prompter.setBusy(true);
        return DropOutcome::Refused;
    }
    prompter.setBusy(false);
    const Answer answer = prompter.message(
        QStringLiteral("This action will permanently delete\rthe current table, continue anyway?"),
        QStringLiteral("Caution"), Icon::None, Buttons::YesNo, Answer::No);
    prompter.setBusy(true);
    if (answer != Answer::Yes)
        return DropOutcome::Declined;
    try {
        if (letGo)
            letGo();
        dropUserTable(database, table);
        return DropOutcome::Dropped;
    } catch (const Error& error) {
        prompter.errorWhileBusy(error, ErrorLayout::Report);
        return DropOutcome::Failed;
    }
}

} // namespace qv::grid
