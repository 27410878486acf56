#include "cli/commands.h"
#include "cli/table_output.h"
#include "cli/terminal_prompter.h"

#include "common/error.h"
#include "common/statement_values.h"
#include "store/database.h"
#include "store/newest_round.h"
#include "summary/core/summary_figures.h"
#include "usage/usage_messages.h"

#include <QTextStream>

namespace qv::cli {

namespace {

// The figures as a table of two fields; a figure that is a plain number is
// written as a number.
void writeFigures(ByteSink& out, const summary::SummarySheet& sheet, OutputFormat format)
{
    TableWriter writer(out, format);
    writer.header({QStringLiteral("Figure"), QStringLiteral("Value")});
    for (int column : {1, 4}) {
        for (int row = 3; row <= summary::SummarySheet::Rows; ++row) {
            const QString text = sheet.text(column + 1, row);
            bool number = false;
            const double value = text.toDouble(&number);
            writer.row({sheet.text(column, row), number ? QVariant(value) : QVariant(text)});
        }
    }
    writer.finish();
}

} // namespace

int runSummary(const QStringList& given, const Options& options)
{
    StandardOutput& out = StandardOutput::instance();
    QTextStream err(stderr);
    QStringList args = given;
    OutputFormat format = OutputFormat::Tsv;
    if (!takeFormatOption(args, format))
        return 2;
    if (args.isEmpty() || args.size() > 2)
        return usage::usageError("summary");
    if (args.size() == 2 && !isRoundNumber(args[1]))
        return usage::usageError("summary", QStringLiteral("ROUND must be a whole number: ") + args[1]);
    TerminalPrompter prompter(options.yes, {});
    try {
        auto database = store::Database::open(args[0]);
        // Without a round the newest one, as the window first shows.
        const QString round = args.size() == 2 ? args[1] : store::newestRound(*database);
        if (round.isEmpty()) {
            err << "No round has been imported\n";
            return 1;
        }
        if (args.size() == 2)
            store::requireImportedRound(*database, round);
        summary::SummarySheet sheet;
        sheet.layOut(summary::GetAuction(*database, prompter));
        summary::FillSummary(*database, round, sheet, prompter);
        if (format != OutputFormat::Tsv) {
            writeFigures(out, sheet, format);
            return prompter.sawError() ? 1 : 0;
        }
        QString text = sheet.text(3, 1) + QLatin1Char('\n') + sheet.text(3, 2) + QLatin1Char('\n');
        for (int column : {1, 4})
            for (int row = 3; row <= summary::SummarySheet::Rows; ++row)
                text += sheet.text(column, row) + QLatin1Char('\t') + sheet.text(column + 1, row) +
                        QLatin1Char('\n');
        out.write(text);
        return prompter.sawError() ? 1 : 0;
    } catch (const Error& error) {
        out.reportError(errorText(ErrorLayout::Report, error));
        return 1;
    }
}

} // namespace qv::cli
