#pragma once

#include <QString>

namespace qv::analysis {

struct Workbook;
class PivotResult;

// The most columns a sheet of the common spreadsheet programs holds
// (LibreOffice Calc holds 1,024 unless its large sheets are switched on).
inline constexpr int SpreadsheetColumnLimit = 16384;
inline constexpr int CalcDefaultColumnLimit = 1024;

// How many sheet columns a pivot table takes: its row labels and its columns.
int pivotSheetColumns(const PivotResult& pivot);

// Writes a workbook as an .xlsx file: every sheet with its cells (numbers as
// numbers, texts as shared strings), and every pivot table as a native pivot
// table over its source range that spreadsheet programs compute when they
// open the file, through SafeFile. Raises Error 76 when the folder does not
// exist, 61 when the disk is full, 75 when the file cannot be written
// otherwise; an earlier file of that name then stays as it was.
void writeXlsx(const Workbook& book, const QString& path);

} // namespace qv::analysis
