#pragma once

#include "grid/recordset_model.h"
#include "print/core/page_layout.h"

#include <QList>
#include <QTableView>

#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace qv::print {
// The pages of a print; the grid hands the painter its cells in
// spread_grid_print.cpp.
struct PrintJob;
} // namespace qv::print

namespace qv::grid {

// The spreadsheet grid of a grid window. Cells are addressed by column and
// row from 1; column 0 is the row-header column; -1 means every column (or
// row). The current cell and block (Col, Row, Col2, Row2) address the cell
// operations, as on the grid component the program was written for.
class SpreadGrid : public QTableView {
    Q_OBJECT
public:
    explicit SpreadGrid(QWidget* parent = nullptr);

    // Shows a record set: one column per field, field names as headers.
    void setRecordset(std::shared_ptr<const store::Recordset> rows);
    RecordsetModel& recordsetModel() { return model_; }
    int maxCols() const { return model_.columnCount(); }
    int maxRows() const { return model_.rowCount(); }

    // Width of a column in characters; column 0 is the row-header column.
    void setColWidth(int column, double characters);
    double colWidth(int column) const;

    // The addressed cell and block.
    int Col = 1;
    int Row = 1;
    int Col2 = 1;
    int Row2 = 1;
    bool BlockMode = false;
    QString text() const;
    void setText(const QString& text);
    // Alignment of the addressed cell, or of the whole block in block mode.
    void setTypeHAlign(Qt::Alignment alignment);

    // The cell with the focus.
    int activeCol() const;
    int activeRow() const;

    // Columns 1..n stay in view while the others scroll; 0 for none.
    int colsFrozen() const { return frozen_; }
    void setColsFrozen(int columns);

    // The user's selection as blocks (Ctrl-click adds blocks, a header click
    // a whole column). gatherSelection takes it; choosing a block by index
    // loads its bounds into Col, Row, Col2, Row2 (Row -1 for whole columns).
    void gatherSelection();
    int selectionCount() const { return static_cast<int>(blocks_.size()); }
    void setSelectionIndex(int index);

    // Printing (spread_grid_print.cpp): orientation and margins in twips, the
    // text shown with a Cancel button while a job runs, forced page breaks
    // (a page starts at a flagged row or column), the page boundaries as the
    // pages fall, and the marks drawn on them.
    print::PageSetup printSetup;
    QString PrintAbortMsg;
    void setRowPageBreak(int row, bool on);
    void setColPageBreak(int column, bool on);
    bool rowPageBreak(int row) const { return rowBreaks_.count(row) != 0; }
    bool colPageBreak(int column) const { return colBreaks_.count(column) != 0; }
    void clearPageBreaks();
    int nextPageBreakRow();
    int nextPageBreakCol();
    int printPageCount() const;
    // The pages as they fall, on the grid's paper unless another is given.
    print::PrintJob printJob(const std::optional<QPageSize>& paper = {}) const;
    // Cell borders over the addressed block: type 0 none, 1 left edge, 4 top
    // edge (the page-break marks), applied by applyBorders.
    int BorderType = 0;
    void applyBorders();
    bool rowMarked(int row) const { return rowMarks_.count(row) != 0; }
    bool colMarked(int column) const { return colMarks_.count(column) != 0; }

signals:
    void rightClicked(int column, int row, QPoint position);
    void columnWidthChanged();
    void rowHeightChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

private:
    struct Block {
        int col, row, col2, row2;
    };
    void layoutFrozenView();
    int frozenWidth() const;
    void shareModelWithFrozenView(bool share);

    RecordsetModel model_;
    QTableView* frozenView_ = nullptr;
    int frozen_ = 0;
    QList<Block> blocks_;
    std::set<int> rowBreaks_, colBreaks_, rowMarks_, colMarks_;
    print::BoundaryCursor rowBoundaries_, colBoundaries_;
    bool rowsReported_ = false, colsReported_ = false;
    mutable std::optional<std::vector<double>> printedWidths_; // until the cells change
    class PrintView;
};

} // namespace qv::grid
