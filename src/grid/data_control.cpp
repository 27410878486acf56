#include "grid/data_control.h"

namespace qv::grid {

void DataControl::setRecordset(std::shared_ptr<store::Recordset> rows)
{
    // Take the new hold before letting the old one go: the same table stays held.
    store::TableHold hold = rows ? rows->hold() : store::TableHold();
    rows_ = std::move(rows);
    hold_ = std::move(hold);
}

QStringList DataControl::fieldNames() const
{
    return rows_ ? rows_->fieldNames() : QStringList();
}

void DataControl::release()
{
    hold_.release();
    rows_.reset();
}

} // namespace qv::grid
