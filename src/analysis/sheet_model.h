#pragma once

#include <QAbstractTableModel>

namespace qv::analysis {

class Sheet;

// A sheet's cells for a table view: column letters and row numbers as headers.
class SheetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    SheetModel(const Sheet& sheet, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const Sheet& sheet_;
};

} // namespace qv::analysis
