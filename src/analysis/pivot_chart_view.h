#pragma once

#include "analysis/core/pivot_chart_data.h"

#include <QWidget>

class QChart;
class QChartView;
class QLineSeries;
class QListView;

namespace qv::analysis {

class ChartGroupModel;

// A pivot table's chart: the lines on the left, a list on the right whose
// ticks choose which column groups show. Hovering a point tells its round,
// group and amount.
class PivotChartView : public QWidget {
    Q_OBJECT
public:
    explicit PivotChartView(PivotResult pivot, QWidget* parent = nullptr);

    QChart* chart() const;
    QListView* groupList() const { return groups_; }
    // The line of the group in the list's row; none until it is first shown.
    QLineSeries* line(int row) const;
    // The chart as a picture: SVG when the name ends in .svg, else PNG.
    // Raises qv::Error when it cannot be written.
    void save(const QString& file) const;

private:
    void showGroup(int row, bool shown);
    void tellPoint(QLineSeries* line, const QPointF& point, bool hovered);

    PivotResult pivot_;
    PivotChartData data_;
    QChartView* view_;
    QListView* groups_;
    std::vector<QLineSeries*> lines_; // per group, in the list's order
};

} // namespace qv::analysis
