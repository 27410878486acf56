// The round summary and printing on the large auction: the summary's figures
// of a round; the page layout of one round of "All Bids" and of "Markets";
// the PDF of the whole "Markets" table, written as `quorvane-cli print` writes
// it, with its pages a minute and the process's peak memory for a tenth of
// the pages against all of them (each in a process of its own).
//
//   bench_print [AUCTION.mdb]          everything (default: the cached auction 5)
//   bench_print --pdf AUCTION.mdb N    the first N pages of the PDF only (0: all)
#include "bench_support.h"

#include "common/error.h"
#include "grid/core/table_statements.h"
#include "print/core/page_painter.h"
#include "print/core/record_source.h"
#include "store/database.h"
#include "summary/core/summary_figures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QProcess>

#include <cstdio>

using namespace qv;

namespace {

// The job `quorvane-cli print` makes of a record set: portrait, half-inch
// margins, columns as the grid window would size them.
print::PrintJob printJobOf(std::shared_ptr<const store::Recordset> rows)
{
    auto source = std::make_shared<print::RecordSource>(std::move(rows));
    print::PrintJob job;
    job.source = source;
    job.setup.orientation = 1;
    job.font = print::printFont();
    job.sheet = print::fittedMetrics(*source, job.font);
    print::fitRowHeaders(job.sheet, job.font);
    print::fitColumnsToPage(job.sheet, job.setup);
    job.layout = print::PageLayout(job.setup, job.sheet, {}, {});
    return job;
}

void benchSummary(store::Database& database)
{
    bench::SilentPrompter prompter;
    const int auction = summary::GetAuction(database, prompter);
    for (const char* round : {"1", "125", "250"}) {
        std::vector<double> times;
        summary::SummarySheet sheet;
        for (int i = 0; i < 5; ++i) {
            times.push_back(bench::timeIt([&] {
                summary::SummarySheet fresh;
                fresh.layOut(summary::GetAuction(database, prompter));
                summary::FillSummary(database, QLatin1String(round), fresh, prompter);
                sheet = fresh;
            }));
        }
        if (!prompter.messages.isEmpty())
            bench::fail(QStringLiteral("the summary reported an error"), &prompter);
        std::printf("summary, auction %d round %-3s: %.4f s (median of 5; slowest %.4f s); net bids %s\n",
                    auction, round, bench::median(times), *std::max_element(times.begin(), times.end()),
                    qPrintable(sheet.text(2, 6)));
        std::fflush(stdout);
    }
}

void benchLayout(store::Database& database, const QString& table, const QString& round)
{
    grid::TableLoad load;
    const double open = bench::timeIt([&] { load = grid::loadTable(database, table, round); });
    std::shared_ptr<const store::Recordset> rows = std::move(load.rows);
    std::vector<double> whole, layoutOnly, withBreaks;
    print::PrintJob job;
    for (int i = 0; i < 5; ++i)
        whole.push_back(bench::timeIt([&] { job = printJobOf(rows); }));
    // The page layout by itself: equal rows without breaks, then with a row
    // break at row 12 and a column break at column 3, which measures every row.
    for (int i = 0; i < 5; ++i)
        layoutOnly.push_back(
            bench::timeIt([&] { job.layout = print::PageLayout(job.setup, job.sheet, {}, {}); }));
    const print::PageLayout plain = job.layout;
    for (int i = 0; i < 5; ++i)
        withBreaks.push_back(
            bench::timeIt([&] { job.layout = print::PageLayout(job.setup, job.sheet, {12}, {3}); }));
    std::printf(
        "layout, %-8s round %-5s %6d rows: %4d pages (%zu row bands x %zu column bands), %d with the "
        "breaks; measures and layout %.2f ms, layout alone %.3f ms, with the breaks %.3f ms (medians of "
        "5); the rows' load %.2f ms\n",
        qPrintable(table), qPrintable(round.isEmpty() ? QStringLiteral("whole") : round), rows->recordCount(),
        plain.pageCount(), plain.rowStarts().size(), plain.colStarts().size(), job.layout.pageCount(),
        bench::median(whole) * 1e3, bench::median(layoutOnly) * 1e3, bench::median(withBreaks) * 1e3,
        open * 1e3);
    std::fflush(stdout);
}

// The first `pages` pages (all when 0) of the whole [Markets] as a PDF.
int writePdf(const QString& auction, int pages)
{
    const QString out = QDir(bench::cacheFolder()).filePath(QStringLiteral("print-bench.pdf"));
    auto database = store::Database::open(auction);
    std::shared_ptr<const store::Recordset> rows;
    const double load = bench::timeIt([&] {
        rows = database->openRecordset(QStringLiteral("SELECT * FROM [Markets]"),
                                       store::RecordsetType::Snapshot);
    });
    const long loadedKiB = bench::peakResidentKiB();
    const print::PrintJob job = printJobOf(rows);
    const int count = pages > 0 ? std::min(pages, job.layout.pageCount()) : job.layout.pageCount();
    bool done = false;
    const double cpuStart = bench::processorSeconds();
    const double seconds = bench::timeIt([&] {
        QPdfWriter pdf(out);
        pdf.setCreator(QStringLiteral("Quorvane"));
        pdf.setResolution(600);
        pdf.setPageLayout(QPageLayout(job.setup.paper, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        // Stopping after `count` pages still ends the document properly.
        print::paintDocument(pdf, job, [&](int page, int) { return page < count; });
        done = true;
    });
    const double cpu = bench::processorSeconds() - cpuStart;
    if (!done || QFile(out).size() == 0)
        bench::fail(QStringLiteral("no PDF written"));
    std::printf("pdf, whole Markets %d rows: %d of %d pages, %.1f MB, %.2f s (%.0f pages a minute; processor "
                "%.2f s, %.0f pages a minute); peak resident %ld MiB, %ld MiB of it before the first page; "
                "the rows' load %.2f s\n",
                rows->recordCount(), count, job.layout.pageCount(), double(QFile(out).size()) / 1e6, seconds,
                count / seconds * 60, cpu, count / cpu * 60, bench::peakResidentKiB() / 1024,
                loadedKiB / 1024, load);
    QFile::remove(out);
    return 0;
}

int runPdfChild(const QString& self, const QString& auction, int pages)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(self, {QStringLiteral("--pdf"), auction, QString::number(pages)});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        bench::fail(QStringLiteral("the PDF run failed"));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.size() == 3 && args[0] == QLatin1String("--pdf"))
            return writePdf(args[1], args[2].toInt());

        // A copy: opening an auction may add its indexes.
        const QString auction = QDir(bench::cacheFolder()).filePath(QStringLiteral("print-bench.mdb"));
        bench::copyFresh(args.isEmpty() ? bench::largeAuction250() : args[0], auction);
        {
            auto database = store::Database::open(auction);
            benchSummary(*database);
            for (const char* round : {"1", "125", "250"})
                benchLayout(*database, QStringLiteral("All Bids"), QLatin1String(round));
            benchLayout(*database, QStringLiteral("Markets"), QStringLiteral("125"));
            benchLayout(*database, QStringLiteral("Markets"), QStringLiteral("250"));
        }
        // A tenth of the pages, then all of them, each in a fresh process.
        auto database = store::Database::open(auction);
        std::shared_ptr<const store::Recordset> rows = database->openRecordset(
            QStringLiteral("SELECT * FROM [Markets]"), store::RecordsetType::Snapshot);
        const int all = printJobOf(rows).layout.pageCount();
        rows.reset();
        database.reset();
        runPdfChild(app.applicationFilePath(), auction, all / 10);
        runPdfChild(app.applicationFilePath(), auction, 0);
        QFile::remove(auction);
    } catch (const Error& error) {
        bench::fail(error.description());
    }
    return 0;
}
