#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace qv {
class ByteSink;
}

namespace qv::analysis {

class PivotResult;

// A sum as the pivot shows it: plain decimal, empty when there is none.
QString pivotValueText(const std::optional<double>& value);

// The pivot laid out as the pivot view and spreadsheet programs show it, one
// list of cells a line: the data field's name and the column fields' names;
// one line per column field with an item where a group begins (the last
// begins with the row fields' names); then one line per row key with its
// sums. Grand totals, when on, as a last column and a last line.
std::vector<QStringList> pivotLines(const PivotResult& pivot);

// The same lines, TAB-separated, each ended by a line feed.
QString pivotTsv(const PivotResult& pivot);
// The same text written line by line as it is made, the empty cells passed
// over: a pivot of any size in the memory of one line.
void writePivotTsv(ByteSink& out, const PivotResult& pivot);

inline const QString GrandTotalCaption = QStringLiteral("Grand Total");

} // namespace qv::analysis
