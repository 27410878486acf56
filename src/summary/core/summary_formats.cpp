#include "summary/core/summary_formats.h"

#include "common/cell_text.h"
#include "common/number_display.h"

#include <cmath>

namespace qv::summary {

namespace {

QString grouped(double value, const QString& prefix)
{
    // Whole units, halves away from zero.
    const double whole = std::round(value);
    return (whole < 0 ? QStringLiteral("-") : QString()) + prefix +
           groupedDigits(QString::number(std::fabs(whole), 'f', 0));
}

std::optional<double> number(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    bool ok = false;
    const double result = value.toDouble(&ok);
    if (!ok || !std::isfinite(result))
        return std::nullopt;
    return result;
}

} // namespace

QString formatMoney(double value)
{
    return grouped(value, QStringLiteral("$"));
}

QString formatCount(double value)
{
    return grouped(value, QString());
}

std::optional<QString> moneyText(const QVariant& value)
{
    const auto n = number(value);
    return n ? std::optional<QString>(formatMoney(*n)) : std::nullopt;
}

std::optional<QString> countText(const QVariant& value)
{
    const auto n = number(value);
    return n ? std::optional<QString>(formatCount(*n)) : std::nullopt;
}

std::optional<QString> plainText(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    return cellDisplay(value);
}

} // namespace qv::summary
