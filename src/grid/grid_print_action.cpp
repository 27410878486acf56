#include "grid/grid_print_action.h"

#include "common/error.h"
#include "grid/spread_grid.h"
#include "print/core/page_painter.h"
#include "print/core/pdf_file.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>

namespace qv::grid {

namespace {

PrinterChoice& printerChoice()
{
    static PrinterChoice choice = [](QPrinter& printer, QWidget* parent) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
    return choice;
}

// The print job (and the PDF's title) is named after the window that holds
// the grid ("All Bids - Round 12", "Round Summary"), not the frame around it.
QString documentName(const QWidget& grid)
{
    for (const QWidget* owner = grid.parentWidget(); owner != nullptr; owner = owner->parentWidget()) {
        if (!owner->windowTitle().isEmpty())
            return owner->windowTitle();
    }
    return grid.window()->windowTitle();
}

} // namespace

void setPrinterChoice(PrinterChoice choice)
{
    printerChoice() = std::move(choice);
}

bool runPrintAction(SpreadGrid& grid, QWidget* parent)
{
    print::PrintJob job = grid.printJob();
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageSize(job.setup.paper);
    printer.setPageOrientation(job.setup.landscape() ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setDocName(documentName(grid));
    if (!printerChoice()(printer, parent))
        return false;
    // The paper chosen in the dialog; orientation and margins stay the grid's.
    const QPageSize chosen = printer.pageLayout().pageSize();
    if (chosen.isValid() && !chosen.isEquivalentTo(job.setup.paper))
        job = grid.printJob(chosen);
    printer.setPageOrientation(job.setup.landscape() ? QPageLayout::Landscape : QPageLayout::Portrait);

    std::unique_ptr<QProgressDialog> abort;
    if (!grid.PrintAbortMsg.isEmpty()) {
        abort = std::make_unique<QProgressDialog>(grid.PrintAbortMsg, QStringLiteral("Cancel"), 0,
                                                  job.layout.pageCount(), parent);
        abort->setWindowModality(Qt::WindowModal);
        abort->setMinimumDuration(0);
    }
    const auto goOn = [&](int page, int) {
        if (!abort)
            return true;
        abort->setValue(page);
        QApplication::processEvents();
        return !abort->wasCanceled();
    };
    // A PDF file is written by the one writer of output files, so that a
    // failure leaves an earlier file of that name as it was.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        return print::writePdfFile(printer.outputFileName(), job, printer.docName(), goOn);
    const bool done = print::paintDocument(printer, job, goOn);
    if (!done && abort && abort->wasCanceled()) {
        printer.abort();
        return false;
    }
    if (!done)
        throw Error(err::PrinterError, QStringLiteral("Printer error"));
    return true;
}

} // namespace qv::grid
