#pragma once

#include "store/recordset.h"
#include "store/table_hold.h"

#include <QObject>

#include <memory>

namespace qv::grid {

// Holds the record set a grid window shows, and with it a hold on the tables
// it reads, so that they count as in use while they are on show.
class DataControl : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void setRecordset(std::shared_ptr<store::Recordset> rows);
    const std::shared_ptr<store::Recordset>& Recordset() const { return rows_; }
    QStringList fieldNames() const;
    void release();

private:
    std::shared_ptr<store::Recordset> rows_;
    store::TableHold hold_;
};

} // namespace qv::grid
