#include "cli/commands.h"

#include "cli/cli_application.h"
#include "cli/draw_module_loader.h"
#include "common/error.h"
#include "common/safe_file.h"

#include <QCoreApplication>
#include <QTextStream>

#include <functional>
#include <map>
#include <memory>

namespace {

const char* const usage = R"(Usage: quorvane-cli [--app-dir DIR] [--yes] COMMAND ARGS...

Commands:
  sample DIR [--auction N] [--rounds R] [--licenses L] [--bidders B] [--seed S]
                       write generated round results files NN_RRR.zip into DIR
  sql DB STATEMENT [--format tsv|csv|json]
                       run one statement on a database; a result set prints
                       with a header line (tab-delimited unless --format)
  create ZIP           create a new auction from a first round's results file
  batch ZIP            create an auction from round 1 and import the rounds
                       that follow it in the same folder
  import DB [ZIP]      import ZIP into the auction DB; without ZIP, the next
                       expected round file from the last import folder
  show DB TABLE [ROUND] [--format tsv|csv|json]
                       print the rows a grid window shows for a table
  watch DB [--folder DIR] [--interval SECONDS]
                       import each next round file as soon as it is complete
                       in DIR (else the last import folder), until SIGINT or
                       SIGTERM; one line per round
  export DB TABLE [ROUND] [--sort SPEC] [--filter EXPR] [-o FILE]
                       write those rows, sorted and filtered as the grid
                       would, as a tab-delimited text export (or --format
                       csv|json)
  drop DB TABLE [--yes]
                       drop a table you built, as Tools > Drop Table does
  query DB list | add NAME --select S --into T --from F [--where W] [--order O]
           | run NAME | delete NAME
                       the SQL Query Wizard's saved queries: list, save, run
                       (builds its table) or delete one
  summary DB [ROUND]   the round summary's twenty figures of a round (the
                       newest when omitted), one "label<TAB>figure" line each
                       ([--format csv|json]: a Figure,Value table)
  print DB TABLE [ROUND] -o FILE.pdf [--landscape] [--margins L,R,T,B]
        [--row-break N]... [--col-break N]... [--sort SPEC] [--filter EXPR]
                       the pages a grid window prints, as PDF: margins in
                       inches (0.5 each unless given), portrait unless
                       --landscape, a page starting at each break
  pivot DB markets|bidders|rounds --from N [--to M] [--net] [--select NAME]...
        [-o FILE.xlsx] [--chart FILE.png|FILE.svg] [--tsv]
                       run a pivot analysis of the bids in rounds N to M (net
                       or gross amounts) on the licences or bidders named
                       (all when none is named); write it as an .xlsx file
                       with a live pivot table, or print the pivot table;
                       --chart draws its chart (one line per column group,
                       the ten highest in the last round) as PNG or SVG
  standings DB [ROUND] [--by licence|bidder|changes] [--format tsv|csv|json]
                       who holds each licence after a round (the newest when
                       omitted), the bidders' holdings, or what changed
  standings DB [ROUND] --chart licence:NAME|bidder:NAME|net... -o FILE.png|FILE.svg
                       price paths, holdings and eligibility, or net bids
  report DB [ROUND] -o FILE.html
                       the round report: one HTML file that needs nothing else
  compact DB           compact the auction DB in place; waits for another
                       program that has it open or writes to it, and leaves
                       it as it was when it cannot

Output: sql, show, export, summary, pivot and standings take --format tsv|csv|json:
tab-delimited (the default), CSV quoted as RFC 4180, or a JSON array of one object per row.

Options:
  --app-dir DIR        the application folder (else $QUORVANE_HOME, else the
                       user's data folder)
  --yes                answer Yes to questions (otherwise No)
)";

} // namespace

int main(int argc, char** argv)
{
    // print and pivot --chart draw, in an application the drawing module makes.
    std::unique_ptr<QCoreApplication> application = qv::cli::drawingApplication(argc, argv);
    if (!application)
        application = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quorvane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvane"));

    QStringList args = QCoreApplication::arguments().mid(1);
    qv::cli::Options options;
    QStringList rest;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (rest.isEmpty() && a == QLatin1String("--app-dir") && i + 1 < args.size()) {
            options.appDir = args[++i];
        } else if (rest.isEmpty() && a == QLatin1String("--yes")) {
            options.yes = true;
        } else {
            rest << a;
        }
    }
    if (rest.isEmpty() || rest.first() == QLatin1String("--help") || rest.first() == QLatin1String("-h")) {
        // In one write, so that a reader who stops at the first line it wants
        // (grep -q) does not cut the program off halfway.
        try {
            qv::StandardOutput::instance().write(QString::fromUtf8(usage));
            qv::StandardOutput::instance().flush();
        } catch (const qv::Error&) {
            return 1;
        }
        return rest.isEmpty() ? 2 : 0;
    }
    if (!options.appDir.isEmpty())
        qputenv("QUORVANE_HOME", options.appDir.toLocal8Bit());

    using Runner = std::function<int(const QStringList&, const qv::cli::Options&)>;
    std::map<QString, Runner> commands = {
        {QStringLiteral("sample"), qv::cli::runSample},   {QStringLiteral("sql"), qv::cli::runSql},
        {QStringLiteral("create"), qv::cli::runCreate},   {QStringLiteral("batch"), qv::cli::runBatch},
        {QStringLiteral("import"), qv::cli::runImport},   {QStringLiteral("show"), qv::cli::runShow},
        {QStringLiteral("watch"), qv::cli::runWatch},     {QStringLiteral("export"), qv::cli::runExport},
        {QStringLiteral("drop"), qv::cli::runDrop},       {QStringLiteral("query"), qv::cli::runQuery},
        {QStringLiteral("summary"), qv::cli::runSummary}, {QStringLiteral("print"), qv::cli::runPrintCommand},
        {QStringLiteral("pivot"), qv::cli::runPivot},     {QStringLiteral("compact"), qv::cli::runCompact},
    };
    commands.emplace(QStringLiteral("standings"), qv::cli::runStandings);
    commands.emplace(QStringLiteral("report"), qv::cli::runReport);
    const auto it = commands.find(rest.first());
    if (it == commands.end()) {
        QTextStream(stderr) << "Unknown command: " << rest.first() << "\n" << QString::fromUtf8(usage);
        return 2;
    }
    return it->second(rest.mid(1), options);
}
