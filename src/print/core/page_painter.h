#pragma once

#include "print/core/page_layout.h"

#include <QFont>
#include <QString>

#include <functional>
#include <memory>

class QPainter;
class QPagedPaintDevice;

namespace qv::print {

class TextWidthBound;

// Twips between a cell's text and its left and right edges.
inline constexpr double CellPadding = 60;

// What a page shows of a sheet: rows and columns from 1.
class PrintSource {
public:
    virtual ~PrintSource() = default;
    virtual QString columnHeader(int column) const = 0;
    virtual QString rowHeader(int row) const { return QString::number(row); }
    virtual QString cellText(int row, int column) const = 0;
    virtual Qt::Alignment alignment(int row, int column) const = 0;
    // At least as wide as the cell's text; a source that holds its values
    // otherwise than as texts answers without making one.
    virtual double textWidthBound(int row, int column, const TextWidthBound& bound) const;
};

// Everything that decides how the pages look.
struct PrintJob {
    std::shared_ptr<const PrintSource> source;
    PageSetup setup;
    SheetMetrics sheet;
    PageLayout layout;
    QFont font; // its pixel size is taken as twips
};

// The grid's text size on paper: 9 points.
QFont printFont(QFont base = {});

// Widens the sheet's row-header column, when the screen's is narrower, to
// hold its longest row number in the print font: a row header is never cut
// short on paper. Run before the pages are laid out.
void fitRowHeaders(SheetMetrics& sheet, const QFont& font);

// Paints one page (from 0) with the painter's units in twips from the
// paper's top-left corner: the column headers and row headers, grid lines,
// and each cell's text clipped to its cell.
void paintPage(QPainter& painter, const PrintJob& job, int page);

// Scales a painter on a device so that one unit is one twip.
void useTwips(QPainter& painter, const QPaintDevice& device);

// Paints every page onto a paged device (a printer or a PDF file), each
// after the one before. progress(page, count) before each page: false stops
// the job. False when the job was stopped or the device would not paint.
bool paintDocument(QPagedPaintDevice& device, const PrintJob& job,
                   const std::function<bool(int page, int count)>& progress = {});

} // namespace qv::print
