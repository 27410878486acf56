#pragma once

#include "summary/core/summary_sheet.h"

#include <QString>

#include <optional>

namespace qv {
class Prompter;
}
namespace qv::store {
class Database;
}

namespace qv::summary {

// Writes the figures of a round into columns 2 and 5, rows 3 to 12, and the
// round heading. A statement that fails is skipped without a word: its cells
// keep what they showed. Only the previous-day change reports its errors.
void FillSummary(store::Database& database, const QString& round, SummarySheet& sheet, Prompter& prompter);

// Net bids of the round less those of the last round of the previous bidding
// day (counted from zero on the first day), as money; nothing after an error,
// which has been reported.
std::optional<QString> GetDay(store::Database& database, const QString& round, Prompter& prompter);

// The auction number from [Markets]; 0 after an error, which has been reported.
int GetAuction(store::Database& database, Prompter& prompter);

} // namespace qv::summary
