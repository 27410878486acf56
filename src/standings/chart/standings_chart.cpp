#include "standings/chart/standings_chart.h"

#include "common/chart_palette.h"
#include "common/plain_text.h"

#include <QBuffer>
#include <QChart>
#include <QGraphicsScene>
#include <QImage>
#include <QLegend>
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

// Chart text in a font family every SVG reader knows (a CSS generic name),
// large enough to read when the report shows a 1200 px chart in 1000 px.
QFont chartFont(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("sans-serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

constexpr int textPixels = 14;

// The runs of rounds with a value: a line breaks over rounds without one (a
// licence held by the agency has no standing price), never drawn across them.
std::vector<QList<QPointF>> runsOf(const ChartLine& line, const std::vector<int>& rounds, double divisor)
{
    std::vector<QList<QPointF>> runs;
    bool open = false;
    for (size_t r = 0; r < line.values.size() && r < rounds.size(); ++r) {
        if (!line.values[r]) {
            open = false;
            continue;
        }
        if (!open)
            runs.emplace_back();
        open = true;
        runs.back().append(QPointF(rounds[r], *line.values[r] / divisor));
    }
    return runs;
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
    chart->setTitleFont(chartFont(textPixels + 2, true));
    const Scale scale = scaleFor(data);
    auto* rounds = new QValueAxis(chart);
    auto* values = new QValueAxis(chart);
    rounds->setTitleText(QStringLiteral("Round"));
    rounds->setLabelFormat(QStringLiteral("%d"));
    values->setTitleText(chartText(data.valueTitle + scale.suffix));
    values->setLabelFormat(scale.divisor > 1 ? QStringLiteral("%.1f") : QStringLiteral("%.0f"));
    for (QValueAxis* axis : {rounds, values}) {
        axis->setLabelsFont(chartFont(textPixels));
        axis->setTitleFont(chartFont(textPixels));
    }
    chart->addAxis(rounds, Qt::AlignBottom);
    chart->addAxis(values, Qt::AlignLeft);

    double low = 0;
    double high = 0;
    const bool points = data.rounds.size() <= 40;
    for (size_t i = 0; i < data.lines.size(); ++i) {
        const ChartLine& line = data.lines[i];
        std::vector<QList<QPointF>> runs = runsOf(line, data.rounds, scale.divisor);
        if (runs.empty())
            runs.emplace_back(); // a line with no value still has its place in the legend
        for (size_t run = 0; run < runs.size(); ++run) {
            auto* series = new QLineSeries(chart);
            series->setName(line.name);
            series->setPen(linePen(static_cast<int>(i)));
            // A lone round between gaps is a point, or it would not show at all.
            series->setPointsVisible(points || runs[run].size() == 1);
            for (const QPointF& at : runs[run]) {
                low = std::min(low, at.y());
                high = std::max(high, at.y());
            }
            series->replace(runs[run]);
            chart->addSeries(series);
            series->attachAxis(rounds);
            series->attachAxis(values);
            // One legend entry a line, however many pieces it is drawn in.
            for (QLegendMarker* marker : chart->legend()->markers(series)) {
                if (run > 0)
                    marker->setVisible(false);
                else
                    marker->setLabel(chartText(line.name));
            }
        }
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
    chart->legend()->setFont(chartFont(textPixels));
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
        // Every group of the SVG names the painter's font, text or not.
        painter.setFont(chartFont(textPixels));
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
