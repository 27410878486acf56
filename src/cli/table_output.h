#pragma once

#include "store/recordset.h"

#include <QTextStream>

namespace qv::cli {

// Writes a record set as tab-delimited text: a header line of field names,
// then one line per record.
void writeTabDelimited(QTextStream& out, const store::Recordset& records);

// A value as text: dates as yyyy-MM-dd (with the time when it has one),
// numbers without trailing zeros, null as empty text.
QString displayText(const QVariant& value);

} // namespace qv::cli
