#pragma once

#include "analysis/core/pivot_table.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTableView>

namespace qv::analysis {

// A computed pivot table for a table view: one row per row key, one column
// per column key, the sums in the cells.
class PivotModel : public QAbstractTableModel {
    Q_OBJECT
public:
    PivotModel(PivotResult pivot, QObject* parent = nullptr);

    const PivotResult& pivot() const { return pivot_; }
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    PivotResult pivot_;
};

// Column headers in one line per column field, outermost first: an item
// stands once over all the columns of its group.
class PivotHeaderView : public QHeaderView {
    Q_OBJECT
public:
    explicit PivotHeaderView(QWidget* parent = nullptr);
    void setPivot(const PivotResult* pivot);
    int lineHeight() const;
    int lines() const;
    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    const PivotResult* pivot_ = nullptr;
};

// The pivot table as it shows: nested column headers, rounds down the side,
// and the field names in the corner.
class PivotView : public QTableView {
    Q_OBJECT
public:
    explicit PivotView(QWidget* parent = nullptr);
    void setPivot(PivotResult pivot);
    PivotModel* pivotModel() const { return model_; }
    PivotHeaderView* pivotHeader() const { return header_; }

protected:
    void updateGeometries() override;

private:
    PivotHeaderView* header_;
    PivotModel* model_ = nullptr;
    QWidget* corner_ = nullptr;
};

} // namespace qv::analysis
