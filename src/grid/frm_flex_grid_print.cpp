// The grid window's page breaks and printing.
#include "grid/frm_flex_grid.h"

#include "common/error.h"
#include "common/prompter.h"
#include "grid/grid_print_action.h"

#include <vector>

namespace qv::grid {

namespace {

enum Border { None = 0, LeftEdge = 1, TopEdge = 4 };

std::vector<int> boundaryRows(SpreadGrid& grid)
{
    std::vector<int> rows;
    for (int row = grid.nextPageBreakRow(); row != -1; row = grid.nextPageBreakRow())
        rows.push_back(row);
    return rows;
}

std::vector<int> boundaryCols(SpreadGrid& grid)
{
    std::vector<int> columns;
    for (int column = grid.nextPageBreakCol(); column != -1; column = grid.nextPageBreakCol())
        columns.push_back(column);
    return columns;
}

} // namespace

void frmFlexGrid::MSFlexGrid1_RightClick(int column, int row, QPoint position)
{
    if (column < 1 || row < 1)
        return;
    // The page-break routines act on the cell clicked.
    MSFlexGrid1->Col = column;
    MSFlexGrid1->Row = row;
    emit pageBreakMenuWanted(MSFlexGrid1->viewport()->mapToGlobal(position));
}

void frmFlexGrid::PBreak_Refresh()
{
    SpreadGrid& grid = *MSFlexGrid1;
    const int col = grid.Col, row = grid.Row;
    for (int r : boundaryRows(grid)) {
        grid.BlockMode = true;
        grid.Col = -1;
        grid.Row = r;
        grid.Row2 = r;
        grid.BorderType = TopEdge;
        grid.applyBorders();
        grid.BlockMode = false;
    }
    for (int c : boundaryCols(grid)) {
        grid.BlockMode = true;
        grid.Col = c;
        grid.Col2 = c;
        grid.Row = -1;
        grid.BorderType = LeftEdge;
        grid.applyBorders();
        grid.BlockMode = false;
    }
    // The current cell stays the one the user chose.
    grid.Col = col;
    grid.Row = row;
}

void frmFlexGrid::PBreak_Clear()
{
    SpreadGrid& grid = *MSFlexGrid1;
    const int col = grid.Col, row = grid.Row;
    grid.BlockMode = true;
    grid.Col = -1;
    grid.Row = -1;
    grid.BorderType = None;
    grid.BlockMode = false;
    grid.applyBorders();
    grid.Col = col;
    grid.Row = row;
}

void frmFlexGrid::PBreak_SetRow()
{
    MSFlexGrid1->setRowPageBreak(MSFlexGrid1->Row, true);
    PBreak_Clear();
    PBreak_Refresh();
}

void frmFlexGrid::PBreak_DelRow()
{
    MSFlexGrid1->setRowPageBreak(MSFlexGrid1->Row, false);
    PBreak_Clear();
    PBreak_Refresh();
}

void frmFlexGrid::PBreak_SetCol()
{
    MSFlexGrid1->setColPageBreak(MSFlexGrid1->Col, true);
    PBreak_Clear();
    PBreak_Refresh();
}

void frmFlexGrid::PBreak_DelCol()
{
    MSFlexGrid1->setColPageBreak(MSFlexGrid1->Col, false);
    PBreak_Clear();
    PBreak_Refresh();
}

void frmFlexGrid::PBreak_Remove()
{
    // Every boundary the grid reports loses its flag; those that follow from
    // the page size come back.
    for (int r : boundaryRows(*MSFlexGrid1))
        MSFlexGrid1->setRowPageBreak(r, false);
    for (int c : boundaryCols(*MSFlexGrid1))
        MSFlexGrid1->setColPageBreak(c, false);
    // Breaks beyond the rows on show now (set on a longer round) go as well,
    // or they would come back with the next round.
    MSFlexGrid1->clearPageBreaks();
    PBreak_Clear();
    PBreak_Refresh();
}

void frmFlexGrid::PrintGrid()
{
    try {
        MSFlexGrid1->PrintAbortMsg = QStringLiteral("Printing - Click Cancel to quit");
        runPrintAction(*MSFlexGrid1, this);
    } catch (const Error& error) {
        prompter_.setBusy(false);
        prompter_.error(error, ErrorLayout::Report);
    }
}

} // namespace qv::grid
