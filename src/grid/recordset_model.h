#pragma once

#include "common/cell_text.h"
#include "store/recordset.h"

#include <QAbstractTableModel>
#include <QHash>

#include <memory>

namespace qv::grid {

// The rows of a record set as a table: one column per field with the field
// name as header, one row per record. Cells written by the program (a cell's
// text or alignment) are kept beside the record set, which stays read-only.
class RecordsetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordsetModel(QObject* parent = nullptr);

    void setRecordset(std::shared_ptr<const store::Recordset> rows);
    const store::Recordset* recordset() const { return rows_.get(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The text a cell shows; rows and columns from 0.
    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);
    // True when the program wrote the cell's text over the record set's value.
    bool isWritten(int row, int column) const { return texts_.contains(key(row, column)); }
    void setCellAlignment(int row, int column, Qt::Alignment alignment);

private:
    static quint64 key(int row, int column) { return (quint64(quint32(row)) << 32) | quint32(column); }

    std::shared_ptr<const store::Recordset> rows_;
    QHash<quint64, QString> texts_;
    QHash<quint64, int> alignments_;
};

} // namespace qv::grid
