#pragma once

#include "standings/core/standings_tables.h"

#include <QAbstractTableModel>

namespace qv::standings {

// One of the standings' views for a table view: texts as the report shows
// them, and under SortRole the values themselves, so that amounts sort as
// numbers and empty cells sort first.
class StandingsTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int SortRole = Qt::UserRole;
    static constexpr int KeyRole = Qt::UserRole + 1;    // the licence or bidder the row is about
    static constexpr int BidderRole = Qt::UserRole + 2; // true when that key is a bidder

    using QAbstractTableModel::QAbstractTableModel;

    void setTable(StandingsTable table);
    const StandingsTable& table() const { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    StandingsTable table_;
};

} // namespace qv::standings
