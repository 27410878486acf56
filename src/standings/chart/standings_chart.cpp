#include "standings/chart/standings_chart.h"

#include "common/chart_palette.h"
#include "common/plain_text.h"

#include <QBuffer>
#include <QChart>
#include <QGraphicsScene>
#include <QImage>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QSvgGenerator>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <memory>

namespace qv::standings {

namespace {

// The unit the amounts' axis counts in, so that its labels stay short.
struct Scale {
    double divisor = 1;
    QString suffix;
};

Scale scaleFor(const StandingsChart& data)
{
    double highest = 0;
    for (const ChartLine& line : data.lines)
        for (const auto& value : line.values)
            highest = std::max(highest, value ? std::fabs(*value) : 0.0);
    if (!data.money)
        return {};
    if (highest >= 1e9)
        return {1e9, QStringLiteral(" ($ billions)")};
    if (highest >= 1e6)
        return {1e6, QStringLiteral(" ($ millions)")};
    if (highest >= 1e4)
        return {1e3, QStringLiteral(" ($ thousands)")};
    return {1, QStringLiteral(" ($)")};
}

} // namespace

QPen linePen(int index)
{
    const ChartStroke stroke = chartStroke(index);
    QPen pen(QColor(QRgb(stroke.rgb)), 2.0, stroke.style);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

QChart* makeStandingsChart(const StandingsChart& data)
{
    auto* chart = new QChart;
    // Qt Charts reads its texts as HTML: names are escaped to stay names.
    chart->setTitle(chartText(data.title));
    const Scale scale = scaleFor(data);
    auto* rounds = new QValueAxis(chart);
    auto* values = new QValueAxis(chart);
    rounds->setTitleText(QStringLiteral("Round"));
    rounds->setLabelFormat(QStringLiteral("%d"));
    values->setTitleText(chartText(data.valueTitle + scale.suffix));
    values->setLabelFormat(scale.divisor > 1 ? QStringLiteral("%.1f") : QStringLiteral("%.0f"));
    chart->addAxis(rounds, Qt::AlignBottom);
    chart->addAxis(values, Qt::AlignLeft);

    double low = 0;
    double high = 0;
    const bool points = data.rounds.size() <= 40;
    for (size_t i = 0; i < data.lines.size(); ++i) {
        const ChartLine& line = data.lines[i];
        auto* series = new QLineSeries(chart);
        series->setName(line.name);
        series->setPen(linePen(static_cast<int>(i)));
        series->setPointsVisible(points);
        QList<QPointF> at;
        for (size_t r = 0; r < line.values.size() && r < data.rounds.size(); ++r) {
            if (!line.values[r])
                continue;
            const double y = *line.values[r] / scale.divisor;
            low = std::min(low, y);
            high = std::max(high, y);
            at.append(QPointF(data.rounds[r], y));
        }
        series->replace(at);
        chart->addSeries(series);
        for (QLegendMarker* marker : chart->legend()->markers(series))
            marker->setLabel(chartText(line.name));
        series->attachAxis(rounds);
        series->attachAxis(values);
    }
    if (!data.rounds.empty()) {
        const double first = data.rounds.front();
        const double last = std::max<double>(data.rounds.back(), first + 1);
        const double step = roundMarkStep(first, last);
        rounds->setRange(first, last);
        rounds->setTickType(QValueAxis::TicksDynamic);
        rounds->setTickAnchor(step > 1 ? 0 : first);
        rounds->setTickInterval(step);
    }
    values->setRange(low, high > low ? high * 1.05 : low + 1);
    values->applyNiceNumbers();
    chart->legend()->setAlignment(Qt::AlignRight);
    // A lone line named as the chart needs no legend.
    chart->legend()->setVisible(data.lines.size() > 1 ||
                                (data.lines.size() == 1 && data.lines.front().name != data.title));
    return chart;
}

QByteArray drawCharts(const std::vector<const StandingsChart*>& charts, QSize each, bool svg)
{
    if (charts.empty())
        return {};
    const QSize whole(each.width(), each.height() * static_cast<int>(charts.size()));
    const QRectF area(QPointF(0, 0), QSizeF(whole));
    QGraphicsScene scene;
    scene.setSceneRect(area);
    for (size_t i = 0; i < charts.size(); ++i) {
        QChart* chart = makeStandingsChart(*charts[i]);
        scene.addItem(chart); // the scene owns it
        chart->setGeometry(
            QRectF(QPointF(0, static_cast<double>(each.height()) * static_cast<double>(i)), QSizeF(each)));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(whole);
        generator.setViewBox(area);
        generator.setTitle(charts.front()->title);
        QPainter painter;
        if (!painter.begin(&generator))
            return {};
        painter.fillRect(area, Qt::white);
        scene.render(&painter, area, area);
        if (!painter.end())
            return {};
    } else {
        QImage image(whole, QImage::Format_ARGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            scene.render(&painter, area, area);
        }
        if (!image.save(&buffer, "PNG"))
            return {};
    }
    return bytes;
}

} // namespace qv::standings
