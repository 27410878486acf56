#include "cli/commands.h"
#include "cli/table_output.h"
#include "cli/terminal_prompter.h"

#include "common/error.h"
#include "common/numeric_text.h"
#include "common/safe_file.h"
#include "grid/core/tab_export.h"
#include "grid/core/table_statements.h"
#include "store/database.h"
#include "store/newest_round.h"

#include <QTextStream>

#include <optional>

namespace qv::cli {

namespace {

const char* const exportUsage =
    "Usage: quorvane-cli export DB TABLE [ROUND | --all] [--sort SPEC] [--filter EXPR] [-o FILE]\n"
    "                           [--format tsv|csv|json]\n"
    "  Writes the rows a grid window shows for TABLE and ROUND (the newest round\n"
    "  without one; --all for the whole table) as tab-delimited text: a line of\n"
    "  field names, then one line per row, CR LF line ends. --filter keeps the rows\n"
    "  matching a condition (\"[Bidder] = 'Acme'\"), --sort orders them (\"[Gross\n"
    "  Bid Amount] DESC\"), as the grid's Filter and Sort do. Without -o the text\n"
    "  goes to standard output. --format csv or json writes the same rows as CSV\n"
    "  (RFC 4180) or JSON.\n";

int usageError(const QString& problem = {})
{
    QTextStream err(stderr);
    if (!problem.isEmpty())
        err << problem << '\n';
    err << exportUsage;
    return 2;
}

// Writes the rows to the file through SafeFile, or to standard output.
void writeRows(const store::Recordset& rows, OutputFormat format, const QString& output)
{
    std::optional<SafeFile> file;
    if (!output.isEmpty())
        file.emplace(output);
    ByteSink& out = file ? static_cast<ByteSink&>(*file) : StandardOutput::instance();
    if (format == OutputFormat::Tsv)
        grid::writeTabText(out, grid::recordsetRows(rows));
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
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            StandardOutput::instance().write(QByteArray(exportUsage));
            return 0;
        }
        const bool takesValue =
            a == QLatin1String("--sort") || a == QLatin1String("--filter") || a == QLatin1String("-o");
        if (takesValue && i + 1 >= args.size())
            return usageError();
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
        return usageError();
    if (positional.size() == 3 && !isRoundNumber(positional[2]))
        return usageError(QStringLiteral("ROUND must be a whole number: ") + positional[2]);

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
        std::unique_ptr<store::Recordset> rows = whole ? grid::loadWholeTable(*database, table).rows
                                                       : grid::loadTable(*database, table, round).rows;
        // The grid's Filter, then its Sort: each opens a new set from the one on show.
        if (!filter.isEmpty()) {
            rows->filter = filter;
            rows = rows->openRecordset();
        }
        if (!sort.isEmpty()) {
            rows->sort = sort;
            rows = rows->openRecordset();
        }
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
