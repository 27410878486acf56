#include "analysis/chart/pivot_chart.h"

#include "common/chart_palette.h"
#include "common/error.h"
#include "common/plain_text.h"
#include "common/safe_file.h"

#include <QApplication>
#include <QChart>
#include <QGraphicsScene>
#include <QImage>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QPainter>
#include <QPen>
#include <QSvgGenerator>
#include <QTextDocumentFragment>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace qv::analysis {

namespace {

// Amounts with a comma between groups of three digits ("1,500,000").
QLocale groupingLocale()
{
    QLocale locale = QLocale::c();
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    return locale;
}

} // namespace

QChart* makePivotChart(const PivotChartData& data)
{
    auto* chart = new QChart;
    // Qt Charts reads its texts as HTML: names are escaped to stay names.
    chart->setTitle(chartText(data.title));
    chart->setLocale(groupingLocale());
    chart->setLocalizeNumbers(true);
    auto* axisX = new QValueAxis(chart);
    auto* axisY = new QValueAxis(chart);
    axisX->setTitleText(QStringLiteral("Round"));
    // Localized labels take no "%d": whole rounds as numbers without decimals.
    axisX->setLabelFormat(QStringLiteral("%.0f"));
    axisY->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    for (const ChartSeries& line : data.series) {
        if (line.shown)
            addPivotChartLine(chart, data, line);
    }
    if (!data.xs.empty()) {
        // Marks at whole rounds only; one round stands in the middle, under its mark.
        const auto [first, last] = std::minmax_element(data.xs.begin(), data.xs.end());
        const double step = roundMarkStep(*first, *last);
        if (*first == *last)
            axisX->setRange(*first - 0.5, *last + 0.5);
        else
            axisX->setRange(*first, *last);
        axisX->setTickType(QValueAxis::TicksDynamic);
        axisX->setTickAnchor(step > 1 ? 0 : *first);
        axisX->setTickInterval(step);
    }
    fitPivotChartAmounts(chart);
    chart->legend()->setAlignment(Qt::AlignRight);
    return chart;
}

void fitPivotChartAmounts(QChart* chart)
{
    double low = 0;
    double high = 0;
    for (QAbstractSeries* series : chart->series()) {
        auto* line = qobject_cast<QLineSeries*>(series);
        if (line == nullptr || !line->isVisible())
            continue;
        for (const QPointF& point : line->points()) {
            low = std::min(low, point.y());
            high = std::max(high, point.y());
        }
    }
    const QList<QAbstractAxis*> amounts = chart->axes(Qt::Vertical);
    auto* axisY = amounts.isEmpty() ? nullptr : qobject_cast<QValueAxis*>(amounts.front());
    if (axisY == nullptr)
        return;
    axisY->setRange(low, high > low ? high * 1.05 : low + 1);
    axisY->applyNiceNumbers();
}

namespace {

const char* const segmentOf = "qvSegmentOf"; // a later piece of a line: the line it belongs to

} // namespace

QList<QLineSeries*> pivotChartLines(QChart* chart)
{
    QList<QLineSeries*> lines;
    for (QAbstractSeries* series : chart->series()) {
        if (!series->property(segmentOf).isValid())
            lines << qobject_cast<QLineSeries*>(series);
    }
    return lines;
}

QList<QLineSeries*> pivotChartLinePieces(QChart* chart, QLineSeries* line)
{
    QList<QLineSeries*> pieces = {line};
    for (QAbstractSeries* series : chart->series()) {
        if (series->property(segmentOf).value<QObject*>() == line)
            pieces << qobject_cast<QLineSeries*>(series);
    }
    return pieces;
}

QLineSeries* addPivotChartLine(QChart* chart, const PivotChartData& data, const ChartSeries& line)
{
    auto* series = new QLineSeries(chart);
    series->setName(line.name);
    // Each line its own colour from the program's palette, in the order the
    // lines come onto the chart; after twelve, the colours again, dashed.
    const QList<QAbstractSeries*> made = chart->series();
    const auto lines = std::count_if(made.begin(), made.end(), [](QAbstractSeries* s) {
        return !s->property(segmentOf).isValid(); // the pieces of a line share its colour
    });
    const ChartStroke stroke = chartStroke(static_cast<int>(lines));
    QPen pen(QColor(QRgb(stroke.rgb)), 2.0, stroke.style);
    pen.setCapStyle(Qt::FlatCap);
    series->setPen(pen);
    series->setPointsVisible(true);
    // Over a round or two the points are all there is to see.
    if (data.xs.size() <= 2)
        series->setMarkerSize(9);
    // A round without bids (an empty cell) breaks the line: each run of
    // rounds with amounts is a piece of its own, the later pieces following
    // the first one's visibility, with no legend entry of their own.
    std::vector<QList<QPointF>> runs(1);
    for (size_t i = 0; i < line.values.size() && i < data.xs.size(); ++i) {
        if (line.values[i])
            runs.back().append(QPointF(data.xs[i], *line.values[i]));
        else if (!runs.back().isEmpty())
            runs.emplace_back();
    }
    if (runs.size() > 1 && runs.back().isEmpty())
        runs.pop_back();
    series->replace(runs.front());
    chart->addSeries(series);
    for (QLegendMarker* marker : chart->legend()->markers(series))
        marker->setLabel(chartText(line.name));
    for (QAbstractAxis* axis : chart->axes())
        series->attachAxis(axis);
    for (size_t r = 1; r < runs.size(); ++r) {
        auto* piece = new QLineSeries(chart);
        piece->setName(line.name);
        piece->setPen(pen);
        piece->setPointsVisible(true);
        piece->setMarkerSize(series->markerSize());
        piece->setProperty(segmentOf, QVariant::fromValue<QObject*>(series));
        piece->replace(runs[r]);
        chart->addSeries(piece);
        for (QLegendMarker* marker : chart->legend()->markers(piece))
            marker->setVisible(false);
        for (QAbstractAxis* axis : chart->axes())
            piece->attachAxis(axis);
        piece->setVisible(series->isVisible());
        QObject::connect(series, &QLineSeries::visibleChanged, piece,
                         [series, piece] { piece->setVisible(series->isVisible()); });
        QObject::connect(piece, &QLineSeries::hovered, series, &QLineSeries::hovered);
    }
    return series;
}

void saveChartImage(QChart* chart, const QString& file, QSize size)
{
    SafeFile out(file); // a missing folder fails before any drawing
    QGraphicsScene scene;
    QGraphicsItem* parent = chart->parentItem();
    QGraphicsScene* oldScene = chart->scene();
    const QSizeF oldSize = chart->size();
    if (oldScene)
        oldScene->removeItem(chart);
    scene.addItem(chart);
    chart->resize(size);
    const QRectF area(QPointF(0, 0), QSizeF(size));
    scene.setSceneRect(area);
    bool written = false;
    if (file.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setOutputDevice(&out.device());
        svg.setSize(size);
        svg.setViewBox(area);
        // The title as the text it shows (the generator escapes it itself).
        svg.setTitle(QTextDocumentFragment::fromHtml(chart->title()).toPlainText());
        QPainter painter;
        if (painter.begin(&svg)) {
            painter.fillRect(area, Qt::white);
            scene.render(&painter, area, area);
            written = painter.end();
        }
    } else {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            scene.render(&painter, area, area);
        }
        written = image.save(&out.device(), "PNG");
    }
    scene.removeItem(chart);
    chart->resize(oldSize);
    if (oldScene) {
        oldScene->addItem(chart);
        if (parent)
            chart->setParentItem(parent);
    }
    if (!written) {
        out.raiseDeviceFailure(); // a full disk, say, rather than a drawing that failed
        throw Error(
            err::PathFileAccess,
            QStringLiteral("Path/File access error: the chart could not be drawn into '%1'.").arg(file));
    }
    out.commit();
}

void savePivotChart(const PivotChartData& data, const QString& file, QSize size)
{
    std::unique_ptr<QChart> chart(makePivotChart(data));
    saveChartImage(chart.get(), file, size);
}

std::unique_ptr<QCoreApplication> makeChartApplication(int& argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace qv::analysis
