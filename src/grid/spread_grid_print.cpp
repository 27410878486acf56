// The grid's printing: page setup, forced breaks, boundaries and their marks.
#include "grid/spread_grid.h"

#include "print/core/column_widths.h"
#include "print/core/page_painter.h"
#include "print/core/record_source.h"

#include <QHeaderView>
#include <QPainter>

namespace qv::grid {

// The grid's cells as a printed page shows them.
class SpreadGrid::PrintView : public print::PrintSource {
public:
    explicit PrintView(const RecordsetModel& model) : model_(model) {}
    QString columnHeader(int column) const override
    {
        return model_.headerData(column - 1, Qt::Horizontal).toString();
    }
    QString cellText(int row, int column) const override { return model_.cellText(row - 1, column - 1); }
    Qt::Alignment alignment(int row, int column) const override
    {
        return Qt::Alignment(model_.data(model_.index(row - 1, column - 1), Qt::TextAlignmentRole).toInt());
    }
    double textWidthBound(int row, int column, const print::TextWidthBound& bound) const override
    {
        // Values as stored, without a text a cell, unless the program wrote one.
        if (model_.recordset() != nullptr && !model_.isWritten(row - 1, column - 1))
            return print::storedTextWidthBound(*model_.recordset(), row - 1, column - 1, bound);
        return PrintSource::textWidthBound(row, column, bound);
    }

private:
    const RecordsetModel& model_;
};

void SpreadGrid::setRowPageBreak(int row, bool on)
{
    if (on && row >= 1)
        rowBreaks_.insert(row);
    else
        rowBreaks_.erase(row);
}

void SpreadGrid::setColPageBreak(int column, bool on)
{
    if (on && column >= 1)
        colBreaks_.insert(column);
    else
        colBreaks_.erase(column);
}

void SpreadGrid::clearPageBreaks()
{
    rowBreaks_.clear();
    colBreaks_.clear();
}

print::PrintJob SpreadGrid::printJob(const std::optional<QPageSize>& paper) const
{
    // Screen pixels to twips through the screen's logical resolution.
    const double twipsX = print::TwipsPerInch / logicalDpiX();
    const double twipsY = print::TwipsPerInch / logicalDpiY();
    print::PrintJob job;
    job.source = std::make_shared<PrintView>(model_);
    job.setup = printSetup;
    if (paper)
        job.setup.paper = *paper;
    job.sheet.rowCount = maxRows();
    job.sheet.rowHeight = verticalHeader()->defaultSectionSize() * twipsY;
    job.sheet.headerHeight = std::max(horizontalHeader()->sizeHint().height(), 10) * twipsY;
    job.sheet.rowHeaderWidth = std::max(verticalHeader()->width(), 20) * twipsX;
    job.font = print::printFont(font());
    // As wide as on screen, and as every value on paper needs: measured once
    // for the rows on show.
    if (!printedWidths_)
        printedWidths_ = print::fittedColumnWidths(*job.source, maxRows(), maxCols(), job.font);
    for (int c = 0; c < maxCols(); ++c)
        job.sheet.columnWidths.push_back(
            isColumnHidden(c) ? 0 : std::max(columnWidth(c) * twipsX, (*printedWidths_)[size_t(c)]));
    print::fitRowHeaders(job.sheet, job.font);
    print::fitColumnsToPage(job.sheet, job.setup);
    const std::set<int> rows(rowBreaks_.begin(), rowBreaks_.lower_bound(maxRows() + 1));
    const std::set<int> columns(colBreaks_.begin(), colBreaks_.lower_bound(maxCols() + 1));
    job.layout = print::PageLayout(job.setup, job.sheet, rows, columns);
    return job;
}

int SpreadGrid::printPageCount() const
{
    return printJob().layout.pageCount();
}

int SpreadGrid::nextPageBreakRow()
{
    // A run of reads starts from the pages as they fall now.
    if (!rowsReported_)
        rowBoundaries_.reset(printJob().layout.rowStarts());
    const int row = rowBoundaries_.next();
    rowsReported_ = row != -1;
    return row;
}

int SpreadGrid::nextPageBreakCol()
{
    if (!colsReported_)
        colBoundaries_.reset(printJob().layout.colStarts());
    const int column = colBoundaries_.next();
    colsReported_ = column != -1;
    return column;
}

void SpreadGrid::applyBorders()
{
    const int lastCol = BlockMode && Col != -1 ? Col2 : Col;
    const int lastRow = BlockMode && Row != -1 ? Row2 : Row;
    if (BorderType == 0) {
        if (Col == -1 && Row == -1) {
            rowMarks_.clear();
            colMarks_.clear();
        } else if (Col == -1) {
            rowMarks_.erase(rowMarks_.lower_bound(Row), rowMarks_.upper_bound(lastRow));
        } else if (Row == -1) {
            colMarks_.erase(colMarks_.lower_bound(Col), colMarks_.upper_bound(lastCol));
        }
    } else if (BorderType == 4 && Col == -1 && Row >= 1) {
        for (int row = Row; row <= lastRow; ++row)
            rowMarks_.insert(row);
    } else if (BorderType == 1 && Row == -1 && Col >= 1) {
        for (int column = Col; column <= lastCol; ++column)
            colMarks_.insert(column);
    }
    viewport()->update();
}

void SpreadGrid::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    if (rowMarks_.empty() && colMarks_.empty())
        return;
    // Page-break marks: a thick black line on the top edge of a marked row
    // and the left edge of a marked column, across the whole sheet.
    QPainter painter(viewport());
    painter.setPen(QPen(Qt::black, 3));
    const int width = viewport()->width();
    const int height = viewport()->height();
    const int firstRow = std::max(0, rowAt(0));
    const int lastRow = rowAt(height) < 0 ? maxRows() - 1 : rowAt(height);
    for (auto it = rowMarks_.lower_bound(firstRow + 1); it != rowMarks_.end() && *it <= lastRow + 1; ++it) {
        const int y = rowViewportPosition(*it - 1);
        painter.drawLine(0, y, width, y);
    }
    for (int column : colMarks_) {
        if (column > maxCols() || isColumnHidden(column - 1))
            continue;
        const int x = columnViewportPosition(column - 1);
        if (x >= 0 && x <= width)
            painter.drawLine(x, 0, x, height);
    }
}

} // namespace qv::grid
