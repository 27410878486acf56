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
    int rowCount() const { return rows_->recordCount(); }
    int columnCount() const { return rows_->fieldCount(); }

private:
    std::shared_ptr<const store::Recordset> rows_;
};

// The measures a grid window gives a record set on a screen of 96 dots to
// the inch: columns as wide as their names and first values, in twips.
SheetMetrics fittedMetrics(const RecordSource& source, const QFont& font);

} // namespace qv::print
