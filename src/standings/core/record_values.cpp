#include "standings/core/record_values.h"

#include "store/recordset.h"

namespace qv::standings {

std::optional<double> numberAt(const store::Recordset& rows, int row, int column)
{
    const store::CellView cell = rows.cell(row, column);
    switch (cell.kind) {
    case store::CellView::Kind::Null:
        return std::nullopt;
    case store::CellView::Kind::Integer:
        return static_cast<double>(cell.integer);
    case store::CellView::Kind::Double:
        return cell.number;
    case store::CellView::Kind::Text:
    case store::CellView::Kind::Other:
        break;
    }
    bool ok = false;
    const double value = rows.at(row, column).toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

QString textAt(const store::Recordset& rows, int row, int column)
{
    const store::CellView cell = rows.cell(row, column);
    if (cell.kind == store::CellView::Kind::Null)
        return {};
    if (cell.kind == store::CellView::Kind::Text)
        return QString::fromUtf8(cell.text.data(), static_cast<qsizetype>(cell.text.size()));
    return rows.at(row, column).toString();
}

} // namespace qv::standings
