#include "analysis/pivot_chart_view.h"

#include "analysis/chart/pivot_chart.h"
#include "analysis/chart_group_model.h"
#include "common/number_display.h"
#include "common/plain_text.h"

#include <QChartView>
#include <QCursor>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QListView>
#include <QSplitter>
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
    groups_->setUniformItemSizes(true);
    groups_->setModel(new ChartGroupModel(
        data_, [this](int row, bool shown) { showGroup(row, shown); }, groups_));
    // The chart holds the shown groups' lines in the list's order.
    const QList<QLineSeries*> made = pivotChartLines(chart());
    qsizetype next = 0;
    for (size_t i = 0; i < data_.series.size() && next < made.size(); ++i) {
        if (!data_.series[i].shown)
            continue;
        QLineSeries* line = made[next++];
        lines_[i] = line;
        if (line != nullptr)
            connect(line, &QLineSeries::hovered, this,
                    [this, line](const QPointF& point, bool state) { tellPoint(line, point, state); });
    }
    // The list can be widened for long names; each name is its item's tooltip too.
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("chartSplitter"));
    splitter->addWidget(view_);
    splitter->addWidget(groups_);
    splitter->setStretchFactor(0, 1);
    splitter->setCollapsible(0, false);
    splitter->setCollapsible(1, false);
    splitter->setSizes({700, 260});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
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
    QList<QPointF> points;
    for (const QLineSeries* piece : pivotChartLinePieces(chart(), line))
        points << piece->points();
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
        plainToolTip(
            QStringLiteral("Round %1\n%2\n%3").arg(round, line->name(), groupedNumberText(nearest.y()))),
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
