#pragma once

#include <functional>

class QPrinter;
class QWidget;

namespace qv::grid {

class SpreadGrid;

// Chooses where a job goes: true to print. The platform's print dialog by
// default, which also offers a PDF file; tests choose a file without it.
using PrinterChoice = std::function<bool(QPrinter& printer, QWidget* parent)>;
void setPrinterChoice(PrinterChoice choice);

// The grid's print action: its pages, with its orientation, margins and
// breaks, on the printer chosen. While the pages are produced the grid's
// abort text (when it has one) shows with a Cancel button that stops the
// job. A PDF file chosen in the dialog is written through SafeFile. False
// when nothing was printed: cancelled, stopped, or the printer failed (error
// 482 raised; a PDF file that cannot be written raises its own error).
bool runPrintAction(SpreadGrid& grid, QWidget* parent);

} // namespace qv::grid
