#pragma once

#include "analysis/core/pivot_chart_data.h"

#include <QWidget>

class QChart;
class QChartView;
class QListWidget;

namespace qv::analysis {

// A pivot table's chart: the lines on the left, a list on the right whose
// ticks choose which column groups show. Hovering a point tells its round,
// group and amount.
class PivotChartView : public QWidget {
    Q_OBJECT
public:
    explicit PivotChartView(PivotChartData chartData, QWidget* parent = nullptr);

    QChart* chart() const;
    QListWidget* groupList() const { return groups_; }
    // The chart as a picture: SVG when the name ends in .svg, else PNG.
    bool save(const QString& file) const;

private:
    PivotChartData data_;
    QChartView* view_;
    QListWidget* groups_;
};

} // namespace qv::analysis
