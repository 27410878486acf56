#pragma once

#include "store/column_values.h"
#include "store/recordset.h"

#include <QStringList>
#include <QVariant>

#include <memory>

namespace qv::store {

// Rows read one after another, for writers that need each row only once:
// a record set already read, or a statement stepped as it is written out.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual QStringList fieldNames() const = 0;
    virtual int fieldCount() const = 0;
    // Moves to the next row (the first on the first call); false after the last.
    virtual bool next() = 0;
    // The current row's values, as a record set holds them: a cell without a
    // QVariant, or any value (dates, the Other cells) as a QVariant.
    virtual CellView cell(int column) const = 0;
    virtual QVariant value(int column) const = 0;
};

// The rows of a record set, first to last.
class RecordsetRows : public RowSource {
public:
    explicit RecordsetRows(const Recordset& records) : records_(records) {}
    // Rows that keep their record set.
    explicit RecordsetRows(std::unique_ptr<Recordset> owned) : records_(*owned), owned_(std::move(owned)) {}
    QStringList fieldNames() const override { return records_.fieldNames(); }
    int fieldCount() const override { return records_.fieldCount(); }
    bool next() override { return ++row_ < records_.recordCount(); }
    CellView cell(int column) const override { return records_.cell(row_, column); }
    QVariant value(int column) const override { return records_.at(row_, column); }

private:
    const Recordset& records_;
    std::unique_ptr<Recordset> owned_;
    int row_ = -1;
};

} // namespace qv::store
