#include "cli/commands.h"

#include "common/error.h"
#include "common/safe_file.h"
#include "common/statement_values.h"
#include "grid/core/table_statements.h"
#include "print/core/page_painter.h"
#include "print/core/pdf_file.h"
#include "print/core/record_source.h"
#include "store/database.h"
#include "store/newest_round.h"
#include "usage/usage_messages.h"

#include <QTextStream>

namespace qv::cli {

namespace {

struct PrintArgs {
    QStringList positional;
    QString output;
    print::PageSetup setup;
    std::set<int> rowBreaks, colBreaks;
    QString sort, filter;
    bool whole = false;
};

// False, with the reason, when the arguments do not make a job.
bool parse(const QStringList& args, PrintArgs& parsed, QString& problem)
{
    parsed.setup.orientation = 1;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        auto whole = [&](std::set<int>& into) {
            bool ok = false;
            const int n = args[++i].toInt(&ok);
            if (!ok || n < 1)
                problem = a + QStringLiteral(" takes a row or column number from 1");
            into.insert(n);
        };
        if ((a == QLatin1String("-o") || a == QLatin1String("--output")) && hasValue) {
            parsed.output = args[++i];
        } else if (a == QLatin1String("--landscape")) {
            parsed.setup.orientation = 2;
        } else if (a == QLatin1String("--all")) {
            parsed.whole = true;
        } else if (a == QLatin1String("--margins") && hasValue) {
            const QStringList parts = args[++i].split(QLatin1Char(','));
            double inches[4] = {};
            bool ok = parts.size() == 4;
            for (int m = 0; ok && m < 4; ++m) {
                inches[m] = parts[m].toDouble(&ok);
                ok = ok && inches[m] >= 0 && inches[m] < 10;
            }
            if (!ok) {
                problem = QStringLiteral("--margins takes four inches from 0 to 9.99: L,R,T,B");
                return false;
            }
            parsed.setup.marginLeft = inches[0] * print::TwipsPerInch;
            parsed.setup.marginRight = inches[1] * print::TwipsPerInch;
            parsed.setup.marginTop = inches[2] * print::TwipsPerInch;
            parsed.setup.marginBottom = inches[3] * print::TwipsPerInch;
        } else if (a == QLatin1String("--row-break") && hasValue) {
            whole(parsed.rowBreaks);
        } else if (a == QLatin1String("--col-break") && hasValue) {
            whole(parsed.colBreaks);
        } else if (a == QLatin1String("--sort") && hasValue) {
            parsed.sort = args[++i];
        } else if (a == QLatin1String("--filter") && hasValue) {
            parsed.filter = args[++i];
        } else if (a.startsWith(QLatin1String("--")) || a == QLatin1String("-o")) {
            problem = QStringLiteral("Unknown or incomplete option: ") + a;
        } else {
            parsed.positional << a;
        }
        if (!problem.isEmpty())
            return false;
    }
    if (parsed.positional.size() < 2 || parsed.output.isEmpty()) {
        problem = QStringLiteral("DB, TABLE and -o FILE.pdf are needed");
        return false;
    }
    if (parsed.positional.size() > (parsed.whole ? 2 : 3)) {
        problem = parsed.whole ? QStringLiteral("ROUND and --all cannot go together")
                               : QStringLiteral("too many arguments");
        return false;
    }
    if (parsed.positional.size() == 3 && !isRoundNumber(parsed.positional[2])) {
        problem = QStringLiteral("ROUND must be a whole number: ") + parsed.positional[2];
        return false;
    }
    if (const std::optional<print::Margin> margin = print::tooLargeMargin(parsed.setup)) {
        problem = print::tooLargeMarginText(*margin);
        return false;
    }
    return true;
}

} // namespace

int runPrint(const QStringList& args, const Options&)
{
    StandardOutput& out = StandardOutput::instance();
    QTextStream err(stderr);
    PrintArgs parsed;
    QString problem;
    if (!parse(args, parsed, problem))
        return usage::usageError("print", problem);
    try {
        auto database = store::Database::open(parsed.positional[0]);
        const QString table = parsed.positional[1];
        const QString round =
            parsed.positional.size() == 3 ? parsed.positional[2] : store::newestRound(*database);
        if (!parsed.whole && round.isEmpty()) {
            err << "No round has been imported\n";
            return 1;
        }
        if (parsed.positional.size() == 3)
            store::requireImportedRound(*database, round);
        grid::TableLoad load =
            parsed.whole ? grid::loadWholeTable(*database, table) : grid::loadTable(*database, table, round);
        std::shared_ptr<store::Recordset> rows = std::move(load.rows);
        // Filter, then sort, as the grid window applies them.
        if (!parsed.filter.isEmpty()) {
            rows->filter = parsed.filter;
            rows = rows->openRecordset();
        }
        if (!parsed.sort.isEmpty()) {
            rows->sort = parsed.sort;
            rows = rows->openRecordset();
        }

        auto source = std::make_shared<print::RecordSource>(rows);
        print::PrintJob job;
        job.source = source;
        job.setup = parsed.setup;
        job.font = print::printFont();
        job.sheet = print::fittedMetrics(*source, job.font);
        print::fitRowHeaders(job.sheet, job.font);
        print::fitColumnsToPage(job.sheet, job.setup);
        job.layout = print::PageLayout(job.setup, job.sheet, parsed.rowBreaks, parsed.colBreaks);

        try {
            print::writePdfFile(parsed.output, job, grid::tableCaption(table, round, load.roundListEnabled));
        } catch (const Error& error) {
            err << "Could not write " << parsed.output << ": " << errorText(ErrorLayout::Report, error)
                << '\n';
            return 1;
        }
        out.write(QStringLiteral("%1 pages written to %2\n").arg(job.layout.pageCount()).arg(parsed.output));
        return 0;
    } catch (const Error& error) {
        out.reportError(errorText(ErrorLayout::Report, error));
        return 1;
    }
}

} // namespace qv::cli
