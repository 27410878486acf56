#include "cli/commands.h"
#include "cli/terminal_prompter.h"

#include "common/error.h"
#include "grid/core/drop_table.h"
#include "store/database.h"

#include <QTextStream>

namespace qv::cli {

namespace {

const char* const dropUsage =
    "Usage: quorvane-cli drop DB TABLE [--yes]\n"
    "  Drops a table you built (with the table wizard or a saved SQL query) and\n"
    "  its listing in sysTables and sysWizard, as Tools > Drop Table does. The\n"
    "  question \"continue anyway?\" is answered by --yes (otherwise No). Only a\n"
    "  table listed as yours can go: a table of the round results files, or one of\n"
    "  the program's own (sysRounds...), is refused (\"Access Denied\"). A saved SQL\n"
    "  query that builds the table stays, and builds it again at the next import.\n";

} // namespace

int runDrop(const QStringList& args, const Options& options)
{
    bool yes = options.yes;
    QStringList positional;
    for (const QString& a : args) {
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            QTextStream(stdout) << dropUsage;
            return 0;
        }
        if (a == QLatin1String("--yes"))
            yes = true;
        else
            positional << a;
    }
    if (positional.size() != 2) {
        QTextStream(stderr) << dropUsage;
        return 2;
    }
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
