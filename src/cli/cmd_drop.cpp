#include "cli/commands.h"
#include "cli/terminal_prompter.h"

#include "common/error.h"
#include "grid/core/drop_table.h"
#include "store/database.h"
#include "usage/usage_messages.h"

namespace qv::cli {

int runDrop(const QStringList& args, const Options& options)
{
    bool yes = options.yes;
    QStringList positional;
    for (const QString& a : args) {
        if (a == QLatin1String("--yes"))
            yes = true;
        else
            positional << a;
    }
    if (positional.size() != 2)
        return usage::usageError("drop");
    TerminalPrompter terminal(yes, {});
    Prompter& prompter = terminal;
    try {
        auto database = store::Database::open(positional[0]);
        const grid::DropOutcome outcome = grid::dropTableAsked(*database, prompter, positional[1], {});
        return outcome == grid::DropOutcome::Dropped && !terminal.sawError() ? 0 : 1;
    } catch (const Error& error) {
        prompter.error(error, ErrorLayout::Report, QStringLiteral("Quorvane"));
        return 1;
    }
}

} // namespace qv::cli
