#include "print/core/record_source.h"

#include "common/cell_text.h"
#include "common/number_display.h"
#include "print/core/column_widths.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace qv::print {

namespace {
constexpr double TwipsPerPixel = TwipsPerInch / 96.0;
}

RecordSource::RecordSource(std::shared_ptr<const store::Recordset> rows) : rows_(std::move(rows))
{
}

QString RecordSource::columnHeader(int column) const
{
    return rows_->fieldName(column - 1);
}

QString RecordSource::cellText(int row, int column) const
{
    return cellDisplay(rows_->at(row - 1, column - 1));
}

Qt::Alignment RecordSource::alignment(int row, int column) const
{
    const int type = rows_->at(row - 1, column - 1).typeId();
    const bool number = type == QMetaType::Double || type == QMetaType::Int || type == QMetaType::LongLong;
    return number ? Qt::AlignRight : Qt::AlignLeft;
}

double RecordSource::textWidthBound(int row, int column, const TextWidthBound& bound) const
{
    return storedTextWidthBound(*rows_, row - 1, column - 1, bound);
}

double storedTextWidthBound(const store::Recordset& rows, int row, int column, const TextWidthBound& bound)
{
    using Kind = store::CellView::Kind;
    const store::CellView cell = rows.cell(row, column);
    switch (cell.kind) {
    case Kind::Null:
        return 0;
    case Kind::Integer:
        return bound.ofWhole(cell.integer);
    case Kind::Double: {
        // Most amounts are whole: their digits without writing them out.
        if (cell.number == std::trunc(cell.number) && std::abs(cell.number) < WholeDigitsFrom)
            return bound.ofWhole(static_cast<long long>(cell.number));
        std::string digits;
        appendNumberText(digits, cell.number);
        return bound.ofUtf8(digits);
    }
    case Kind::Text:
        return bound.ofUtf8(cell.text);
    case Kind::Other:
        break;
    }
    return bound.of(cellDisplay(rows.at(row, column)));
}

SheetMetrics fittedMetrics(const RecordSource& source, const QFont& font)
{
    QFont screen = font;
    screen.setPointSizeF(9);
    const QFontMetrics metrics(screen);
    SheetMetrics sheet;
    sheet.rowCount = source.rowCount();
    sheet.rowHeight = (metrics.height() + 6) * TwipsPerPixel;
    sheet.headerHeight = (metrics.height() + 8) * TwipsPerPixel;
    sheet.rowHeaderWidth =
        std::max(40, metrics.horizontalAdvance(QString::number(sheet.rowCount)) + 16) * TwipsPerPixel;
    // The widths of the grid window (names and the first hundred values),
    // widened where a value further down needs more on paper.
    const std::vector<double> printed =
        fittedColumnWidths(source, sheet.rowCount, source.columnCount(), font);
    const int sampled = std::min(sheet.rowCount, 100);
    for (int c = 1; c <= source.columnCount(); ++c) {
        int width = metrics.horizontalAdvance(source.columnHeader(c)) + 24;
        for (int r = 1; r <= sampled; ++r)
            width = std::max(width, metrics.horizontalAdvance(source.cellText(r, c)) + 14);
        sheet.columnWidths.push_back(
            std::max(std::clamp(width, 60, 320) * TwipsPerPixel, printed[size_t(c - 1)]));
    }
    return sheet;
}

} // namespace qv::print
