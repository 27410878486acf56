#include "print/core/record_source.h"

#include "grid/core/cell_text.h"

#include <QFontMetrics>

#include <algorithm>

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
    return grid::cellDisplay(rows_->at(row - 1, column - 1));
}

Qt::Alignment RecordSource::alignment(int row, int column) const
{
    const int type = rows_->at(row - 1, column - 1).typeId();
    const bool number = type == QMetaType::Double || type == QMetaType::Int || type == QMetaType::LongLong;
    return number ? Qt::AlignRight : Qt::AlignLeft;
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
    // The widths of the grid window: names and the first hundred values.
    const int sampled = std::min(sheet.rowCount, 100);
    for (int c = 1; c <= source.columnCount(); ++c) {
        int width = metrics.horizontalAdvance(source.columnHeader(c)) + 24;
        for (int r = 1; r <= sampled; ++r)
            width = std::max(width, metrics.horizontalAdvance(source.cellText(r, c)) + 14);
        sheet.columnWidths.push_back(std::clamp(width, 60, 320) * TwipsPerPixel);
    }
    return sheet;
}

} // namespace qv::print
