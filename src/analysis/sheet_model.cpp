#include "analysis/sheet_model.h"

#include "analysis/core/pivot_table.h"
#include "analysis/core/workbook.h"
#include "common/cell_text.h"
#include "common/number_display.h"

#include <cmath>

namespace qv::analysis {

SheetModel::SheetModel(const Sheet& sheet, QObject* parent) : QAbstractTableModel(parent), sheet_(sheet)
{
}

int SheetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : sheet_.rowCount();
}

int SheetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : sheet_.columnCount();
}

QVariant SheetModel::data(const QModelIndex& index, int role) const
{
    const QVariant value = sheet_.cell(index.row() + 1, index.column() + 1);
    if (role == Qt::DisplayRole) {
        // A column formatted "#,##0" (the amounts) shows whole numbers with their thousands.
        const PivotItem item = PivotItem::of(value);
        if (item.kind == PivotItem::Kind::Number &&
            sheet_.numberFormat(index.column() + 1).contains(QLatin1Char(',')))
            return groupedNumberText(std::round(item.number));
        return cellDisplay(value);
    }
    if (role == Qt::TextAlignmentRole) {
        const bool number = PivotItem::of(value).kind == PivotItem::Kind::Number;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    return {};
}

QVariant SheetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    return orientation == Qt::Horizontal ? columnLetters(section + 1) : QString::number(section + 1);
}

} // namespace qv::analysis
