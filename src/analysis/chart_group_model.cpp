#include "analysis/chart_group_model.h"

#include "common/plain_text.h"

namespace qv::analysis {

ChartGroupModel::ChartGroupModel(const PivotChartData& data, std::function<void(int, bool)> onTick,
                                 QObject* parent)
    : QAbstractListModel(parent), ticked_(data.series.size()), onTick_(std::move(onTick))
{
    names_.reserve(qsizetype(data.series.size()));
    for (size_t i = 0; i < ticked_.size(); ++i) {
        names_ << data.series[i].name;
        ticked_[i] = data.series[i].shown ? 1 : 0;
    }
}

int ChartGroupModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(ticked_.size());
}

QVariant ChartGroupModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return names_.at(index.row());
    if (role == Qt::ToolTipRole)
        return plainToolTip(names_.at(index.row()));
    if (role == Qt::CheckStateRole)
        return isTicked(index.row()) ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool ChartGroupModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::CheckStateRole)
        return false;
    const bool ticked = value.toInt() == Qt::Checked;
    if (ticked == isTicked(index.row()))
        return true;
    ticked_[size_t(index.row())] = ticked ? 1 : 0;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    if (onTick_)
        onTick_(index.row(), ticked);
    return true;
}

Qt::ItemFlags ChartGroupModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

} // namespace qv::analysis
