#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace qv::summary {

// "$###,###,###,##0": whole dollars with a comma between groups of three
// digits, a leading minus for negatives ("-$1,234", "$0").
QString formatMoney(double value);
// "###,###,###,##0": the same without the dollar sign.
QString formatCount(double value);

// A field's value in those formats; nothing when it cannot be read as a
// number (null or text), so its cell keeps what it showed.
std::optional<QString> moneyText(const QVariant& value);
std::optional<QString> countText(const QVariant& value);
// A value by the default rules: dates in the short form, fractions with their
// decimals; nothing for null.
std::optional<QString> plainText(const QVariant& value);

} // namespace qv::summary
