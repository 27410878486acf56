#include "cli/commands.h"
#include "cli/table_output.h"
#include "cli/table_rows.h"
#include "cli/terminal_prompter.h"

#include "common/error.h"
#include "common/safe_file.h"
#include "common/statement_values.h"
#include "grid/core/tab_export.h"
#include "store/database.h"
#include "store/newest_round.h"
#include "usage/usage_messages.h"

#include <QTextStream>

#include <optional>

namespace qv::cli {

namespace {

// Writes the rows to the file through SafeFile, or to standard output, as
// they are read.
void writeRows(store::RowSource& rows, OutputFormat format, const QString& output)
{
    std::optional<SafeFile> file;
    if (!output.isEmpty())
        file.emplace(output);
    ByteSink& out = file ? static_cast<ByteSink&>(*file) : StandardOutput::instance();
    if (format == OutputFormat::Tsv)
        grid::writeTabText(out, rows);
    else
        writeTable(out, rows, format);
    if (file)
        file->commit();
}

} // namespace

int runExport(const QStringList& given, const Options& options)
{
    QStringList args = given;
    OutputFormat format = OutputFormat::Tsv;
    if (!takeFormatOption(args, format))
        return 2;
    QStringList positional;
    QString sort, filter, output;
    bool whole = false;
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
        else if (a == QLatin1String("--all"))
            whole = true;
        else
            positional << a;
    }
    if (positional.size() < 2 || positional.size() > (whole ? 2 : 3))
        return usage::usageError("export");
    if (positional.size() == 3 && !isRoundNumber(positional[2]))
        return usage::usageError("export", QStringLiteral("ROUND must be a whole number: ") + positional[2]);

    TerminalPrompter terminal(options.yes, {});
    Prompter& prompter = terminal;
    try {
        auto database = store::Database::open(positional[0]);
        const QString table = positional[1];
        const QString round = positional.size() == 3 ? positional[2] : store::newestRound(*database);
        if (!whole && round.isEmpty()) {
            prompter.errorMessage(QStringLiteral("No round has been imported."), QStringLiteral("Quorvane"));
            return 1;
        }
        if (positional.size() == 3)
            store::requireImportedRound(*database, round);
        const auto rows = openTableRows(*database, table, whole ? QString() : round, filter, sort);
        writeRows(*rows, format, output);
        if (!output.isEmpty())
            prompter.message(QStringLiteral("       Export completed."),
                             QStringLiteral("Operation Complete"));
        return terminal.sawError() ? 1 : 0;
    } catch (const Error& error) {
        prompter.error(error, ErrorLayout::Export, QStringLiteral("Quorvane"));
        return 1;
    }
}

} // namespace qv::cli
