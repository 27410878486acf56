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

QString columnLabel(const PivotResult& pivot, int column)
{
    QStringList parts;
    for (int level = 0; level < static_cast<int>(pivot.columnFields.size()); ++level)
        parts << pivot.columnItem(column, level).display();
    return parts.join(QStringLiteral(" / "));
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
    for (int column = 0; column < pivot.columnCount(); ++column) {
        ChartSeries series;
        series.name = columnLabel(pivot, column);
        for (int row = 0; row < rows; ++row)
            series.values.push_back(pivot.value(row, column));
        data.series.push_back(std::move(series));
    }

    std::vector<size_t> order(data.series.size());
    std::iota(order.begin(), order.end(), size_t(0));
    const auto last = [&data](size_t i) -> std::optional<double> {
        const auto& values = data.series[i].values;
        return values.empty() ? std::nullopt : values.back();
    };
    std::stable_sort(order.begin(), order.end(), [&last](size_t a, size_t b) {
        const auto x = last(a);
        const auto y = last(b);
        if (!y)
            return x.has_value();
        return x && *x > *y;
    });
    const size_t count = std::min(order.size(), size_t(std::max(shownCount, 0)));
    for (size_t i = 0; i < count; ++i)
        data.series[order[i]].shown = true;
    return data;
}

} // namespace qv::analysis
