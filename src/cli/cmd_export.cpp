#include "cli/commands.h"
#include "cli/table_output.h"
#include "cli/terminal_prompter.h"

#include "common/error.h"
#include "grid/core/tab_export.h"
#include "grid/core/table_statements.h"
#include "store/database.h"
#include "store/newest_round.h"
#include "usage/usage_messages.h"

#include <QFile>
#include <QTextStream>

namespace qv::cli {

int runExport(const QStringList& given, const Options& options)
{
    QStringList args = given;
    OutputFormat format = OutputFormat::Tsv;
    if (!takeFormatOption(args, format))
        return 2;
    QStringList positional;
    QString sort, filter, output;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool takesValue =
            a == QLatin1String("--sort") || a == QLatin1String("--filter") || a == QLatin1String("-o");
        if (takesValue && i + 1 >= args.size())
            return usage::usageError("export", a + QStringLiteral(" needs a value"));
        if (a == QLatin1String("--sort"))
            sort = args[++i];
        else if (a == QLatin1String("--filter"))
            filter = args[++i];
        else if (a == QLatin1String("-o"))
            output = args[++i];
        else
            positional << a;
    }
    if (positional.size() < 2 || positional.size() > 3)
        return usage::usageError("export");

    TerminalPrompter terminal(options.yes, {});
    Prompter& prompter = terminal;
    try {
        auto database = store::Database::open(positional[0]);
        const QString table = positional[1];
        const QString round = positional.size() == 3 ? positional[2] : store::newestRound(*database);
        if (round.isEmpty()) {
            prompter.errorMessage(QStringLiteral("No round has been imported."), QStringLiteral("Quorvane"));
            return 1;
        }
        grid::TableLoad load = grid::loadTable(*database, table, round);
        std::unique_ptr<store::Recordset> rows = std::move(load.rows);
        // The grid's Filter, then its Sort: each opens a new set from the one on show.
        if (!filter.isEmpty()) {
            rows->filter = filter;
            rows = rows->openRecordset();
        }
        if (!sort.isEmpty()) {
            rows->sort = sort;
            rows = rows->openRecordset();
        }
        if (format != OutputFormat::Tsv) {
            QFile out;
            const bool opened = output.isEmpty() ? out.open(stdout, QIODevice::WriteOnly)
                                                 : (out.setFileName(output), out.open(QIODevice::WriteOnly));
            if (!opened)
                throw Error(err::PathFileAccess, QStringLiteral("Path/File access error"));
            QTextStream text(&out);
            writeTable(text, *rows, format);
            text.flush();
            if (!output.isEmpty())
                prompter.message(QStringLiteral("       Export completed."),
                                 QStringLiteral("Operation Complete"));
            return terminal.sawError() ? 1 : 0;
        }
        const grid::TabRows shown = grid::recordsetRows(*rows);
        if (output.isEmpty()) {
            QFile out;
            if (!out.open(stdout, QIODevice::WriteOnly))
                throw Error(err::PathFileAccess, QStringLiteral("Path/File access error (standard output)"));
            grid::writeTabText(out, shown);
            out.flush();
        } else {
            grid::exportTabFile(output, shown);
            prompter.message(QStringLiteral("       Export completed."),
                             QStringLiteral("Operation Complete"));
        }
        return terminal.sawError() ? 1 : 0;
    } catch (const Error& error) {
        prompter.error(error, ErrorLayout::Export, QStringLiteral("Quorvane"));
        return 1;
    }
}

} // namespace qv::cli
