#pragma once

#include <QString>
#include <QVariant>

namespace qv {

// A value as the grid shows it: numbers without exponent or trailing zeros,
// dates as month/day/year, null as empty text.
QString cellDisplay(const QVariant& value);

} // namespace qv
