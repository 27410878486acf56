#pragma once

#include "analysis/core/pivot_chart_data.h"

#include <QAbstractListModel>

#include <functional>
#include <vector>

namespace qv::analysis {

// A pivot chart's column groups as a list with a tick each, ticked where the
// group's line shows. It is made in one step: a rounds analysis has tens of
// thousands of groups, which a list of items takes a second to add one by one.
class ChartGroupModel : public QAbstractListModel {
    Q_OBJECT
public:
    // onTick hears every change of a tick, with the group's row.
    ChartGroupModel(const PivotChartData& data, std::function<void(int, bool)> onTick,
                    QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool isTicked(int row) const { return ticked_.at(size_t(row)) != 0; }

private:
    QStringList names_;
    std::vector<char> ticked_;
    std::function<void(int, bool)> onTick_;
};

} // namespace qv::analysis
