#include "analysis/pivot_chart_view.h"

#include "analysis/chart/pivot_chart.h"
#include "analysis/chart_group_model.h"

#include <QChartView>
#include <QCursor>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QListView>
#include <QLocale>
#include <QToolTip>

#include <cmath>

namespace qv::analysis {

PivotChartView::PivotChartView(PivotResult pivot, QWidget* parent)
    : QWidget(parent), pivot_(std::move(pivot)), data_(pivotChartData(pivot_)),
      view_(new QChartView(makePivotChart(data_), this)), groups_(new QListView(this)),
      lines_(data_.series.size(), nullptr)
{
    view_->setObjectName(QStringLiteral("chartView"));
    view_->setRenderHint(QPainter::Antialiasing);
    groups_->setObjectName(QStringLiteral("chartGroups"));
    groups_->setMaximumWidth(220);
    groups_->setUniformItemSizes(true);
    groups_->setModel(new ChartGroupModel(
        data_, [this](int row, bool shown) { showGroup(row, shown); }, groups_));
    // The chart holds the shown groups' lines in the list's order.
    const QList<QAbstractSeries*> made = chart()->series();
    qsizetype next = 0;
    for (size_t i = 0; i < data_.series.size() && next < made.size(); ++i) {
        if (!data_.series[i].shown)
            continue;
        QLineSeries* line = qobject_cast<QLineSeries*>(made[next++]);
        lines_[i] = line;
        if (line != nullptr)
            connect(line, &QLineSeries::hovered, this,
                    [this, line](const QPointF& point, bool state) { tellPoint(line, point, state); });
    }
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_, 1);
    layout->addWidget(groups_);
}

QLineSeries* PivotChartView::line(int row) const
{
    return row >= 0 && size_t(row) < lines_.size() ? lines_[size_t(row)] : nullptr;
}

void PivotChartView::showGroup(int row, bool shown)
{
    if (row < 0 || size_t(row) >= lines_.size())
        return;
    QLineSeries*& line = lines_[size_t(row)];
    if (line == nullptr) {
        if (!shown)
            return;
        ChartSeries& series = data_.series[size_t(row)];
        if (series.values.empty())
            series.values = pivotChartValues(pivot_, series.column);
        line = addPivotChartLine(chart(), data_, series);
        connect(line, &QLineSeries::hovered, this,
                [this, made = line](const QPointF& point, bool state) { tellPoint(made, point, state); });
    }
    line->setVisible(shown);
    fitPivotChartAmounts(chart());
}

void PivotChartView::tellPoint(QLineSeries* line, const QPointF& point, bool hovered)
{
    if (!hovered) {
        QToolTip::hideText();
        return;
    }
    // The nearest point of the line: hovering reports a place on it.
    const QList<QPointF> points = line->points();
    if (points.isEmpty())
        return;
    QPointF nearest = points.front();
    for (const QPointF& p : points) {
        if (std::abs(p.x() - point.x()) < std::abs(nearest.x() - point.x()))
            nearest = p;
    }
    QString round = QString::number(nearest.x());
    for (size_t r = 0; r < data_.xs.size(); ++r) {
        if (data_.xs[r] == nearest.x())
            round = data_.rounds[qsizetype(r)];
    }
    QToolTip::showText(
        QCursor::pos(),
        QStringLiteral("Round %1\n%2\n%3").arg(round, line->name(), QLocale().toString(nearest.y(), 'f', 0)),
        view_);
}

QChart* PivotChartView::chart() const
{
    return view_->chart();
}

void PivotChartView::save(const QString& file) const
{
    saveChartImage(chart(), file, QSize(1200, 700));
}

} // namespace qv::analysis
