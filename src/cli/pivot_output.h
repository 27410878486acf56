#pragma once

#include "cli/table_output.h"

namespace qv::analysis {
struct PivotResult;
}

namespace qv::cli {

// A pivot table as a flat table for other programs: the row fields' items
// first, then one field per column (its column items joined by " / "), then
// the grand total; a last row of column totals when the pivot has one.
// Amounts are numbers, empty cells null.
void writePivotTable(ByteSink& out, const analysis::PivotResult& pivot, OutputFormat format);

} // namespace qv::cli
