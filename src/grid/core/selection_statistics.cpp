#include "grid/core/selection_statistics.h"

#include "common/error.h"
#include "common/statement_values.h"

#include <cmath>

namespace qv::grid {

namespace {

// A cell's text as a number; nothing when it is empty or not a number.
std::optional<double> cellNumber(const QString& text)
{
    if (!isNumericText(text))
        return std::nullopt;
    return text.trimmed().toDouble();
}

} // namespace

QString formatStatistic(double value)
{
    const QString fixed = QString::number(std::fabs(value), 'f', 2);
    const qsizetype point = fixed.indexOf(QLatin1Char('.'));
    QString whole = fixed.left(point);
    if (whole == QLatin1String("0"))
        whole.clear();
    for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
        whole.insert(at, QLatin1Char(','));
    const bool negative = value < 0 && fixed != QLatin1String("0.00");
    return (negative ? QStringLiteral("-") : QString()) + whole + fixed.mid(point);
}

std::optional<QString> selectionStatistic(const QString& kind, const QList<SelectionBlock>& blocks,
                                          const std::function<QString(int, int)>& cell, int rows)
{
    if (blocks.isEmpty())
        return std::nullopt;
    const int c = blocks.first().col;
    const QString zero = QStringLiteral("0");
    double sum = 0;
    int count = 0;
    for (const SelectionBlock& block : blocks) {
        // Statistics are over a single column only.
        if (block.col != c || block.col2 != c)
            return zero;
        if (block.wholeColumn())
            continue;
        for (int r = block.row; r <= block.row2; ++r) {
            const std::optional<double> number = cellNumber(cell(c, r));
            if (!number)
                return zero;
            sum += *number;
            ++count;
        }
    }
    if (blocks.last().wholeColumn()) {
        // A whole column counts from the first row down to its first empty cell.
        sum = 0;
        count = 0;
        for (int r = 1; r <= rows; ++r) {
            const QString text = cell(c, r);
            if (text.isEmpty())
                break;
            const std::optional<double> number = cellNumber(text);
            if (!number)
                return zero;
            sum += *number;
            ++count;
        }
    }
    double result = 0;
    if (kind == QLatin1String("Average")) {
        if (count == 0)
            throw Error(err::Overflow, QStringLiteral("Overflow"));
        result = sum / count;
    } else if (kind == QLatin1String("Count")) {
        result = count;
    } else if (kind == QLatin1String("Sum")) {
        result = sum;
    } else {
        return std::nullopt;
    }
    return formatStatistic(result);
}

} // namespace qv::grid
