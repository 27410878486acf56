#include "standings/standings_table_model.h"

#include "common/plain_text.h"

#include <limits>

namespace qv::standings {

void StandingsTableModel::setTable(StandingsTable table)
{
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

int StandingsTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
}

int StandingsTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(table_.columns.size());
}

QVariant StandingsTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const size_t row = static_cast<size_t>(index.row());
    const TableColumn& column = table_.columns[static_cast<size_t>(index.column())];
    const QVariant value = table_.rows[row].value(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return cellText(value, column.kind);
    case Qt::ToolTipRole:
        return column.kind == CellKind::Text ? QVariant(plainToolTip(value.toString())) : QVariant();
    case Qt::TextAlignmentRole:
        return column.kind == CellKind::Text ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                             : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case SortRole:
        if (column.kind == CellKind::Text)
            return value.toString();
        return value.isValid() ? value.toDouble() : -std::numeric_limits<double>::infinity();
    case KeyRole:
        return row < table_.keys.size() ? table_.keys[row].name : QString();
    case BidderRole:
        return row < table_.keys.size() && table_.keys[row].bidder;
    default:
        return {};
    }
}

QVariant StandingsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return section >= 0 && section < columnCount() ? table_.columns[static_cast<size_t>(section)].name
                                                   : QVariant();
}

} // namespace qv::standings
