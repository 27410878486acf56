#pragma once

#include "print/core/page_painter.h"
#include "store/recordset.h"

#include <memory>

namespace qv::print {

// A record set's rows as a printed page shows them: field names as column
// headers, values as the grid shows them, numbers to the right.
class RecordSource : public PrintSource {
public:
    explicit RecordSource(std::shared_ptr<const store::Recordset> rows);
    QString columnHeader(int column) const override;
    QString cellText(int row, int column) const override;
    Qt::Alignment alignment(int row, int column) const override;
    double textWidthBound(int row, int column, const TextWidthBound& bound) const override;
    int rowCount() const { return rows_->recordCount(); }
    int columnCount() const { return rows_->fieldCount(); }

private:
    std::shared_ptr<const store::Recordset> rows_;
};

// The bound of a stored value's text as the grid shows it, read from the
// value as stored; row and column from 0.
double storedTextWidthBound(const store::Recordset& rows, int row, int column, const TextWidthBound& bound);

// The measures a grid window gives a record set on a screen of 96 dots to
// the inch, in twips: columns as wide as their names and first values, and
// never narrower than every value printed in the font needs.
SheetMetrics fittedMetrics(const RecordSource& source, const QFont& font);

} // namespace qv::print
