// The rounds analysis over every bid of the large auction (250 rounds): from
// OK to the pivot on show, against pandas' pivot_table over the same rows read
// from the same file; and the .xlsx of that analysis.
#include "analysis/core/analysis_dialogs.h"
#include "analysis/core/analysis_statements.h"
#include "analysis/core/pivot_analysis.h"
#include "analysis/core/pivot_table.h"
#include "analysis/core/workbook.h"
#include "analysis/core/xlsx_writer.h"
#include "analysis/workbook_page.h"
#include "bench_support.h"
#include "store/auction_schema.h"
#include "store/database.h"
#include "store/dialect/translator.h"
#include "store/newest_round.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <string_view>

using namespace qv;

namespace {

// OK pressed on rounds 1 to 250, gross bids; no criteria list for this analysis.
// Records the longest stretch without a progress step: the desktop program
// repaints its windows only at those steps.
class OkDialogs : public analysis::AnalysisDialogs {
public:
    OkDialogs() { sinceStep_.start(); }
    double longestStretch() const { return static_cast<double>(longest_) / 1e9; }
    void showRounds() override {}
    bool roundsCancelled() const override { return false; }
    QString fromText() const override { return QStringLiteral("1"); }
    QString toText() const override { return QStringLiteral("250"); }
    bool grossSelected() const override { return true; }
    void unloadRounds() override {}
    void fillCriteria(const QStringList&, const QString&) override {}
    void showCriteria() override {}
    bool criteriaCancelled() const override { return false; }
    QStringList selectedCriteria() const override { return {}; }
    void openProgress(double, const QString&) override { step(); }
    void setProgress(double) override { step(); }
    void closeProgress() override { step(); }

private:
    void step() { longest_ = std::max(longest_, sinceStep_.nsecsElapsed()), sinceStep_.restart(); }
    QElapsedTimer sinceStep_;
    qint64 longest_ = 0;
};

// `pivot rounds --tsv` over every round as a whole quorvane-cli process,
// against the sqlite3 shell making the same sums with a GROUP BY over the
// same joined rows and writing them as text; runs alternated, medians.
void compareProcesses(const QString& cli, const QStringList& auctions, const QString& out)
{
    for (const QString& auction : auctions) {
        const QString last = store::newestRound(*store::Database::open(auction));
        const QString sql =
            store::dialect::translate(
                analysis::analysisStatement(analysis::AnalysisKind::Rounds, 1, last.toInt(), QString()))
                .sql;
        const QString groups =
            QStringLiteral("\"Round\", \"Market\", \"Block\", \"Submarket\", \"Market Name\", "
                           "\"Bidder\", \"Increments of Bid\"");
        const QString script = QStringLiteral(".mode tabs\n.output ") + out +
                               QStringLiteral(".shell\nSELECT ") + groups +
                               QStringLiteral(", sum(\"Gross Bid Amount\") FROM (") + sql +
                               QStringLiteral(") GROUP BY ") + groups + QStringLiteral(";\n");
        const auto figures = bench::alternatedMedians(
            {{QStringLiteral("pivot"),
              cli,
              {QStringLiteral("pivot"), auction, QStringLiteral("rounds"), QStringLiteral("--from"),
               QStringLiteral("1"), QStringLiteral("--to"), last, QStringLiteral("--tsv")},
              {}},
             {QStringLiteral("shell"),
              QStringLiteral("sqlite3"),
              {QStringLiteral("-bail"), auction},
              script}},
            out, 5);
        std::printf("%s: pivot rounds --tsv, rounds 1..%s (medians of 5 alternated runs)\n"
                    "  quorvane-cli: wall %.3f s, processor %.3f s, peak %.1f MiB\n"
                    "  sqlite3 GROUP BY: wall %.3f s, processor %.3f s, peak %.1f MiB\n"
                    "  ratio: processor %.2f, wall %.2f\n",
                    qPrintable(auction), qPrintable(last), figures[0].wall, figures[0].processor,
                    figures[0].peakMiB, figures[1].wall, figures[1].processor, figures[1].peakMiB,
                    figures[0].processor / figures[1].processor, figures[0].wall / figures[1].wall);
    }
}

} // namespace

int main(int argc, char** argv)
{
    // --cli CLI [AUCTION...]: whole processes against the shell (the cached
    // large auction when none is given).
    if (argc >= 3 && std::string_view(argv[1]) == "--cli") {
        QCoreApplication core(argc, argv);
        QStringList auctions;
        for (int i = 3; i < argc; ++i)
            auctions << QString::fromLocal8Bit(argv[i]);
        if (auctions.isEmpty())
            auctions << bench::largeAuction250();
        QTemporaryDir scratch;
        compareProcesses(QString::fromLocal8Bit(argv[2]), auctions,
                         scratch.filePath(QStringLiteral("pivot.txt")));
        return 0;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // --ours: our side alone, without the .xlsx and pandas (for profiling).
    const bool oursOnly = application.arguments().contains(QStringLiteral("--ours"));
    QTemporaryDir folder;
    // A copy, opened as the program opens an auction: one made before the
    // analyses' index gets it then, once.
    const QString auction = folder.filePath(QStringLiteral("Auction5.mdb"));
    bench::copyFresh(bench::largeAuction250(), auction);
    const double indexing =
        bench::timeIt([&] { store::schema::ensureRoundIndexes(*store::Database::open(auction)); });
    std::vector<double> ours;
    std::vector<double> analysed;
    std::vector<double> shown;
    std::vector<double> stretches;
    std::vector<double> xlsx;
    int rows = 0;
    int columns = 0;
    for (int run = 0; run < 3; ++run) {
        auto database = store::Database::open(auction);
        OkDialogs dialogs;
        bench::SilentPrompter prompter;
        analysis::WorkbookModel workbooks;
        analysis::AnalysisHost host{
            [&database]() -> store::Database& { return *database; }, dialogs, prompter,
            [&workbooks]() -> analysis::SpreadsheetApplication& { return workbooks; }};
        std::unique_ptr<analysis::WorkbookPage> page;
        ours.push_back(bench::timeIt([&] {
            analysed.push_back(bench::timeIt([&] {
                if (runPivotAnalysis(analysis::AnalysisKind::Rounds, host) !=
                    analysis::AnalysisOutcome::Built)
                    std::fprintf(stderr, "the analysis failed: %s\n",
                                 qPrintable(prompter.messages.join(QLatin1Char('|'))));
            }));
            page = std::make_unique<analysis::WorkbookPage>(workbooks.workbook(0));
            page->resize(1100, 640);
            page->show();
            QApplication::processEvents();
        }));
        stretches.push_back(dialogs.longestStretch());
        shown.push_back(bench::timeIt([&] { QApplication::processEvents(); }));
        const analysis::Workbook& book = workbooks.workbook(0);
        const analysis::PivotResult pivot = computePivot(book, book.pivots.front());
        rows = book.sheets.front().rowCount() - 1;
        columns = pivot.columnCount();
        if (oursOnly)
            continue;
        xlsx.push_back(
            bench::timeIt([&] { writeXlsx(book, folder.filePath(QStringLiteral("rounds.xlsx"))); }));
    }

    // pandas over the same rows (Debian's python3-pandas): the statement the
    // engine ran, on the same file.
    const QString sql = store::dialect::translate(
                            analysis::analysisStatement(analysis::AnalysisKind::Rounds, 1, 250, QString()))
                            .sql;
    std::vector<double> pandasRead;
    std::vector<double> pandasPivot;
    QString pandasShape;
    const QString script = QStringLiteral(QV_BENCH_DIR "/pivot_pandas.py");
    for (int run = 0; run < (oursOnly ? 0 : 3); ++run) {
        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"), {script, auction, sql});
        python.waitForFinished(600000);
        const QStringList out = QString::fromUtf8(python.readAllStandardOutput()).split(QLatin1Char(' '));
        if (out.size() < 5) {
            std::fprintf(stderr, "pandas did not run: %s\n", python.readAllStandardError().constData());
            break;
        }
        pandasRead.push_back(out[0].toDouble());
        pandasPivot.push_back(out[1].toDouble());
        pandasShape = out[2] + QStringLiteral(" rows, ") + out[3] + QStringLiteral(" x ") + out[4].trimmed();
    }

    std::printf("Rounds analysis, rounds 1..250: %d bids, pivot of 250 rounds x %d columns (median of 3)\n",
                rows, columns);
    std::printf("  the analyses' index made on first open: %.3f s\n", indexing);
    std::printf("  ours, OK to the pivot on show (query, sheet, pivot, view): %.3f s\n", bench::median(ours));
    std::printf("    of which the analysis (query and sheet): %.3f s, the pivot and its view: %.3f s\n",
                bench::median(analysed), bench::median(ours) - bench::median(analysed));
    std::printf("    longest stretch without a progress step: %.3f s\n", bench::median(stretches));
    std::printf("  .xlsx of it: %.3f s, %lld bytes\n", bench::median(xlsx),
                static_cast<long long>(QFileInfo(folder.filePath(QStringLiteral("rounds.xlsx"))).size()));
    if (!pandasRead.empty()) {
        const double read = bench::median(pandasRead);
        const double made = bench::median(pandasPivot);
        std::printf("  pandas (%s): read %.3f s + pivot_table %.3f s = %.3f s\n", qPrintable(pandasShape),
                    read, made, read + made);
    }
    return 0;
}
