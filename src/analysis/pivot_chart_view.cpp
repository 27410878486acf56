#include "analysis/pivot_chart_view.h"

#include "analysis/chart/pivot_chart.h"

#include <QChartView>
#include <QCursor>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QListWidget>
#include <QLocale>
#include <QToolTip>

#include <cmath>

namespace qv::analysis {

PivotChartView::PivotChartView(PivotChartData chartData, QWidget* parent)
    : QWidget(parent), data_(std::move(chartData)), view_(new QChartView(makePivotChart(data_), this)),
      groups_(new QListWidget(this))
{
    view_->setObjectName(QStringLiteral("chartView"));
    view_->setRenderHint(QPainter::Antialiasing);
    groups_->setObjectName(QStringLiteral("chartGroups"));
    groups_->setMaximumWidth(220);
    const QList<QAbstractSeries*> lines = chart()->series();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        auto* item = new QListWidgetItem(lines[i]->name(), groups_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(lines[i]->isVisible() ? Qt::Checked : Qt::Unchecked);
        auto* line = qobject_cast<QLineSeries*>(lines[i]);
        if (line == nullptr)
            continue;
        connect(line, &QLineSeries::hovered, this, [this, line](const QPointF& point, bool state) {
            if (!state) {
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
            QToolTip::showText(QCursor::pos(),
                               QStringLiteral("Round %1\n%2\n%3")
                                   .arg(round, line->name(), QLocale().toString(nearest.y(), 'f', 0)),
                               view_);
        });
    }
    connect(groups_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const QList<QAbstractSeries*> all = chart()->series();
        const int row = groups_->row(item);
        if (row >= 0 && row < all.size())
            all[row]->setVisible(item->checkState() == Qt::Checked);
    });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_, 1);
    layout->addWidget(groups_);
}

QChart* PivotChartView::chart() const
{
    return view_->chart();
}

bool PivotChartView::save(const QString& file) const
{
    return saveChartImage(chart(), file, QSize(1200, 700));
}

} // namespace qv::analysis
