#include "grid/recordset_model.h"

namespace qv::grid {

RecordsetModel::RecordsetModel(QObject* parent) : QAbstractTableModel(parent)
{
}

void RecordsetModel::setRecordset(std::shared_ptr<const store::Recordset> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    texts_.clear();
    alignments_.clear();
    endResetModel();
}

int RecordsetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !rows_ ? 0 : rows_->recordCount();
}

int RecordsetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !rows_ ? 0 : rows_->fieldCount();
}

QString RecordsetModel::cellText(int row, int column) const
{
    const auto written = texts_.constFind(key(row, column));
    if (written != texts_.constEnd())
        return *written;
    if (!rows_ || row < 0 || column < 0 || row >= rows_->recordCount() || column >= rows_->fieldCount())
        return {};
    return cellDisplay(rows_->at(row, column));
}

QVariant RecordsetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !rows_)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return cellText(index.row(), index.column());
    if (role == Qt::TextAlignmentRole) {
        const auto aligned = alignments_.constFind(key(index.row(), index.column()));
        if (aligned != alignments_.constEnd())
            return *aligned;
        const bool number = rows_->isNumber(index.row(), index.column());
        return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    return {};
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || !rows_)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return section < rows_->fieldCount() ? rows_->fieldName(section) : QString();
    return section + 1;
}

std::function<QString(int)> RecordsetModel::columnWalk(int column) const
{
    constexpr int BatchRows = 16384;
    struct Batch {
        int first = 0;
        std::vector<QVariant> values;
    };
    auto batch = std::make_shared<Batch>();
    return [this, column, batch](int row) {
        if (!rows_ || !rows_->isPaged() || texts_.contains(key(row, column)))
            return cellText(row, column);
        if (row < batch->first || row - batch->first >= static_cast<int>(batch->values.size())) {
            batch->first = row;
            batch->values = rows_->columnValues(column, row, BatchRows);
            if (batch->values.empty())
                return QString();
        }
        return cellDisplay(batch->values[static_cast<size_t>(row - batch->first)]);
    };
}

void RecordsetModel::setCellText(int row, int column, const QString& text)
{
    texts_.insert(key(row, column), text);
    emit dataChanged(index(row, column), index(row, column), {Qt::DisplayRole});
}

void RecordsetModel::setCellAlignment(int row, int column, Qt::Alignment alignment)
{
    alignments_.insert(key(row, column), int(alignment));
    emit dataChanged(index(row, column), index(row, column), {Qt::TextAlignmentRole});
}

} // namespace qv::grid
