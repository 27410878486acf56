#include "analysis/core/pivot_chart_data.h"

#include <algorithm>
#include <numeric>

namespace qv::analysis {

namespace {

QString rowLabel(const PivotResult& pivot, int row)
{
    QStringList parts;
    for (int level = 0; level < static_cast<int>(pivot.rowFields.size()); ++level)
        parts << pivot.rowItem(row, level).display();
    return parts.join(QStringLiteral(" / "));
}

// Every item's text once per level: many groups share them.
std::vector<QStringList> columnItemTexts(const PivotResult& pivot)
{
    std::vector<QStringList> texts(size_t(pivot.columnFields.size()));
    for (int level = 0; level < static_cast<int>(texts.size()); ++level) {
        for (const PivotItem& item : pivot.columnFieldItems(level))
            texts[size_t(level)] << item.display();
    }
    return texts;
}

QString columnLabel(const PivotResult& pivot, const std::vector<QStringList>& texts, int column)
{
    QString label;
    const std::vector<int>& key = pivot.columnKey(column);
    for (size_t level = 0; level < texts.size(); ++level) {
        if (level > 0)
            label += QStringLiteral(" / ");
        label += texts[level][key[level]];
    }
    return label;
}

} // namespace

PivotChartData pivotChartData(const PivotResult& pivot, int shownCount)
{
    PivotChartData data;
    data.title = pivot.dataCaption;
    const int rows = pivot.rowCount();
    for (int row = 0; row < rows; ++row) {
        data.rounds << rowLabel(pivot, row);
        // A single numeric row field is the round: place the point on it.
        const bool numeric =
            pivot.rowFields.size() == 1 && pivot.rowItem(row, 0).kind == PivotItem::Kind::Number;
        data.xs.push_back(numeric ? pivot.rowItem(row, 0).number : double(row + 1));
    }
    const std::vector<QStringList> texts = columnItemTexts(pivot);
    data.series.reserve(size_t(pivot.columnCount()));
    for (int column = 0; column < pivot.columnCount(); ++column) {
        ChartSeries series;
        series.name = columnLabel(pivot, texts, column);
        series.column = column;
        data.series.push_back(std::move(series));
    }

    std::vector<size_t> order(data.series.size());
    std::iota(order.begin(), order.end(), size_t(0));
    const auto last = [&pivot, rows](size_t i) -> std::optional<double> {
        return rows == 0 ? std::nullopt : pivot.value(rows - 1, static_cast<int>(i));
    };
    std::stable_sort(order.begin(), order.end(), [&last](size_t a, size_t b) {
        const auto x = last(a);
        const auto y = last(b);
        if (!y)
            return x.has_value();
        return x && *x > *y;
    });
    const size_t count = std::min(order.size(), size_t(std::max(shownCount, 0)));
    for (size_t i = 0; i < count; ++i) {
        ChartSeries& series = data.series[order[i]];
        series.shown = true;
        series.values = pivotChartValues(pivot, series.column);
    }
    return data;
}

std::vector<std::optional<double>> pivotChartValues(const PivotResult& pivot, int column)
{
    std::vector<std::optional<double>> values;
    values.reserve(size_t(pivot.rowCount()));
    for (int row = 0; row < pivot.rowCount(); ++row)
        values.push_back(pivot.value(row, column));
    return values;
}

} // namespace qv::analysis
