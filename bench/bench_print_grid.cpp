// Printing from a grid window on the large auction, through the grid itself
// (its column widths, its cell texts and alignments on the offscreen
// platform): the pages of a round as the preview and the page-break marks
// count them, and the whole [Markets] table printed to a PDF file as the
// print dialog's "Print to File (PDF)" does, landscape as grid windows print.
//
//   bench_print_grid [AUCTION.mdb]          everything (default: the cached auction 5)
//   bench_print_grid --pdf AUCTION.mdb N    the first N pages of [Markets] only (0: all)
#include "bench_support.h"

#include "common/error.h"
#include "grid/core/table_statements.h"
#include "grid/spread_grid.h"
#include "print/core/page_painter.h"
#include "store/database.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>

#include <cstdio>

using namespace qv;

namespace {

void benchGridLayout(store::Database& database, const QString& table, const QString& round)
{
    grid::TableLoad load = grid::loadTable(database, table, round);
    std::shared_ptr<const store::Recordset> rows = std::move(load.rows);
    grid::SpreadGrid grid;
    grid.resize(1000, 700);
    grid.setRecordset(rows);
    grid.printSetup.orientation = 2; // as a grid window's load sets it
    int pages = 0;
    std::vector<double> counts, boundaries;
    for (int i = 0; i < 5; ++i)
        counts.push_back(bench::timeIt([&] { pages = grid.printPageCount(); }));
    grid.setRowPageBreak(12, true);
    grid.setColPageBreak(3, true);
    int marks = 0;
    // Every boundary the page-break marks are drawn on, as the marks are redrawn.
    for (int i = 0; i < 5; ++i) {
        boundaries.push_back(bench::timeIt([&] {
            marks = 0;
            while (grid.nextPageBreakRow() != -1)
                ++marks;
            while (grid.nextPageBreakCol() != -1)
                ++marks;
        }));
    }
    std::printf(
        "grid, %-8s round %-4s %6d rows: %4d pages, counted in %.3f ms; with a row and a column break "
        "%d boundaries, read in %.3f ms (medians of 5)\n",
        qPrintable(table), qPrintable(round), rows->recordCount(), pages, bench::median(counts) * 1e3, marks,
        bench::median(boundaries) * 1e3);
    std::fflush(stdout);
}

int writePdf(const QString& auction, int pages)
{
    const QString out = QDir(bench::cacheFolder()).filePath(QStringLiteral("print-grid-bench.pdf"));
    auto database = store::Database::open(auction);
    std::shared_ptr<const store::Recordset> rows;
    const double load = bench::timeIt([&] {
        rows = database->openRecordset(grid::wholeTableStatement(QStringLiteral("Markets")),
                                       store::RecordsetType::Snapshot);
    });
    grid::SpreadGrid grid;
    grid.resize(1000, 700);
    grid.setRecordset(rows);
    grid.printSetup.orientation = 2;
    const long loadedKiB = bench::peakResidentKiB();
    // The first job measures every value for the printed column widths.
    print::PrintJob job;
    const double measures = bench::timeIt([&] { job = grid.printJob(); });
    const int count = pages > 0 ? std::min(pages, job.layout.pageCount()) : job.layout.pageCount();
    const double cpuStart = bench::processorSeconds();
    const double seconds = bench::timeIt([&] {
        // The printer as the grid's print action sets it up, writing a PDF file.
        QPrinter printer(QPrinter::HighResolution);
        printer.setFullPage(true);
        printer.setPageSize(job.setup.paper);
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(out);
        print::paintDocument(printer, job, [&](int page, int) { return page < count; });
    });
    const double cpu = bench::processorSeconds() - cpuStart;
    if (QFile(out).size() == 0)
        bench::fail(QStringLiteral("no PDF written"));
    std::printf(
        "grid pdf, whole Markets %d rows: %d of %d pages, %.1f MB, %.2f s (%.0f pages a minute; "
        "processor %.2f s, %.0f pages a minute); peak resident %ld MiB, %ld MiB of it before the first "
        "page; the rows' load %.2f s, the column widths over every row %.3f s\n",
        rows->recordCount(), count, job.layout.pageCount(), double(QFile(out).size()) / 1e6, seconds,
        count / seconds * 60, cpu, count / cpu * 60, bench::peakResidentKiB() / 1024, loadedKiB / 1024, load,
        measures);
    std::fflush(stdout);
    QFile::remove(out);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.size() == 3 && args[0] == QLatin1String("--pdf"))
            return writePdf(args[1], args[2].toInt());

        // A copy: opening an auction may add its indexes.
        const QString auction = QDir(bench::cacheFolder()).filePath(QStringLiteral("print-grid-bench.mdb"));
        bench::copyFresh(args.isEmpty() ? bench::largeAuction250() : args[0], auction);
        {
            auto database = store::Database::open(auction);
            benchGridLayout(*database, QStringLiteral("All Bids"), QStringLiteral("1"));
            benchGridLayout(*database, QStringLiteral("Markets"), QStringLiteral("125"));
        }
        // The first 3,000 pages, then all of them, each in a fresh process.
        for (const char* pages : {"3000", "0"}) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(app.applicationFilePath(), {QStringLiteral("--pdf"), auction, QLatin1String(pages)});
            if (!child.waitForFinished(-1) || child.exitCode() != 0)
                bench::fail(QStringLiteral("the PDF run failed"));
        }
        QFile::remove(auction);
    } catch (const Error& error) {
        bench::fail(error.description());
    }
    return 0;
}
