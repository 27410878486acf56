#pragma once

#include "store/jet/jet_header.h"

#include <QString>
#include <QtGlobal>

#include <optional>

namespace qv::store::jet {

// A Currency value is a 64-bit integer in ten-thousandths; this is the double nearest to it.
double currencyToReal(qint64 scaled);

// A Date/Time value is a double: days since 1899-12-30, the fraction the time of day (for days
// before that, the fraction still counts forward from midnight). Returns the stored ISO form, to the
// nearest second, or nothing when the value lies outside the engine's years 100 to 9999.
std::optional<QString> jetDateToStorage(double days);

// The characters a Text column holds, from the bytes its definition declares: two bytes a character
// in Jet 4's UCS-2, one in Jet 3. A size of none or beyond 255 characters is taken as 255.
int declaredTextLength(int declaredBytes, JetVersion version);

} // namespace qv::store::jet
