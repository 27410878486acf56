#include "print/core/page_painter.h"

#include "print/core/column_widths.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace qv::print {

namespace {

constexpr double Pad = CellPadding;

void drawText(QPainter& painter, const QRectF& cell, const QString& text, Qt::Alignment alignment)
{
    if (text.isEmpty())
        return;
    const QRectF inside = cell.adjusted(Pad, 0, -Pad, 0);
    const QString shown = painter.fontMetrics().elidedText(text, Qt::ElideRight, int(inside.width()));
    painter.drawText(inside, int((alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter), shown);
}

} // namespace

double PrintSource::textWidthBound(int row, int column, const TextWidthBound& bound) const
{
    return bound.of(cellText(row, column));
}

QFont printFont(QFont base)
{
    base.setPixelSize(180); // 9 points of 20 twips
    return base;
}

void fitRowHeaders(SheetMetrics& sheet, const QFont& font)
{
    // The font's pixels are twips on paper; a twip to spare for rounding.
    const QFontMetricsF metrics(font);
    const QString longest = QString::number(std::max(1, sheet.rowCount));
    const double digits = std::max(metrics.horizontalAdvance(longest),
                                   metrics.horizontalAdvance(QString(longest.size(), QLatin1Char('0'))));
    sheet.rowHeaderWidth = std::max(sheet.rowHeaderWidth, std::ceil(digits) + 2 * Pad + 20);
}

void useTwips(QPainter& painter, const QPaintDevice& device)
{
    painter.scale(device.logicalDpiX() / TwipsPerInch, device.logicalDpiY() / TwipsPerInch);
}

void paintPage(QPainter& painter, const PrintJob& job, int page)
{
    const PageCells cells = job.layout.page(page);
    const SheetMetrics& sheet = job.sheet;
    const QRectF room = job.setup.printableTwips();
    painter.save();
    painter.setFont(job.font);
    painter.setClipRect(room);

    // Column edges on this page, the row-header column first.
    std::vector<double> xs{room.left(), room.left() + sheet.rowHeaderWidth};
    for (int column = cells.firstCol; column <= cells.lastCol; ++column)
        xs.push_back(std::min(room.right(), xs.back() + sheet.columnWidths[size_t(column - 1)]));
    std::vector<double> ys{room.top(), room.top() + sheet.headerHeight};
    for (int row = cells.firstRow; row <= cells.lastRow; ++row)
        ys.push_back(std::min(room.bottom(), ys.back() + sheet.heightOf(row)));
    const double right = xs.back();
    const double bottom = ys.back();

    // Headers on a light shade, as the grid shows them.
    painter.fillRect(QRectF(xs[0], ys[0], right - xs[0], ys[1] - ys[0]), QColor(232, 232, 232));
    painter.fillRect(QRectF(xs[0], ys[1], xs[1] - xs[0], bottom - ys[1]), QColor(232, 232, 232));
    painter.setPen(Qt::black);
    for (size_t i = 2; i < xs.size(); ++i) {
        const QRectF header(xs[i - 1], ys[0], xs[i] - xs[i - 1], ys[1] - ys[0]);
        drawText(painter, header, job.source->columnHeader(cells.firstCol + int(i) - 2), Qt::AlignHCenter);
    }
    for (size_t j = 2; j < ys.size(); ++j) {
        const int row = cells.firstRow + int(j) - 2;
        const QRectF rowHeader(xs[0], ys[j - 1], xs[1] - xs[0], ys[j] - ys[j - 1]);
        drawText(painter, rowHeader, job.source->rowHeader(row), Qt::AlignRight);
        for (size_t i = 2; i < xs.size(); ++i) {
            const int column = cells.firstCol + int(i) - 2;
            const QRectF cell(xs[i - 1], ys[j - 1], xs[i] - xs[i - 1], ys[j] - ys[j - 1]);
            drawText(painter, cell, job.source->cellText(row, column), job.source->alignment(row, column));
        }
    }

    // Grid lines.
    QPen line(QColor(128, 128, 128));
    line.setWidthF(10);
    painter.setPen(line);
    for (double x : xs)
        painter.drawLine(QPointF(x, ys[0]), QPointF(x, bottom));
    for (double y : ys)
        painter.drawLine(QPointF(xs[0], y), QPointF(right, y));
    painter.restore();
}

bool paintDocument(QPagedPaintDevice& device, const PrintJob& job,
                   const std::function<bool(int page, int count)>& progress)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    useTwips(painter, device);
    const int count = job.layout.pageCount();
    for (int page = 0; page < count; ++page) {
        if (progress && !progress(page, count)) {
            painter.end();
            return false;
        }
        if (page > 0 && !device.newPage())
            return false;
        paintPage(painter, job, page);
    }
    return painter.end();
}

} // namespace qv::print
