#pragma once

#include <QByteArray>

namespace qv::analysis {

class NumberFormats;
struct PivotDefinition;
class PivotResult;
class Sheet;

// The pivot cache definition: the source range and its fields, the row and
// column fields with their items. It holds no records and asks to be
// refreshed when the file is opened, so the program that opens it computes
// the pivot table from the source sheet.
QByteArray pivotCacheDefinitionXml(const PivotDefinition& pivot, const Sheet& source,
                                   const PivotResult& result);

// Where a pivot table goes on its sheet: its top left cell (row, column),
// and its size in the classic layout.
struct PivotPlacement {
    int top = 3;
    int left = 1;
    int rows = 0;
    int columns = 0;
};
PivotPlacement pivotPlacement(const PivotResult& result);

// The pivot table definition: row, column and data fields, subtotals and
// grand totals as set up, in the classic (tabular) layout.
// Data fields show their sums in their number format.
QByteArray pivotTableXml(const PivotDefinition& pivot, const PivotResult& result, int cacheId,
                         const NumberFormats& formats);

} // namespace qv::analysis
