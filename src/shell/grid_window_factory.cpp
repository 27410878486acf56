#include "shell/grid_window_factory.h"

#include "grid/frm_flex_grid.h"

namespace qv::shell {

frmMain::ChildFactory gridWindowFactory()
{
    return [](frmMain& main) -> QWidget* {
        auto* grid = new grid::frmFlexGrid(main.prompter());
        QObject::connect(grid, &grid::frmFlexGrid::tableListWanted, &main, &frmMain::PopulateTables);
        QObject::connect(grid, &grid::frmFlexGrid::roundListWanted, &main, &frmMain::PopulateRounds);
        QObject::connect(grid, &grid::frmFlexGrid::statusTextWanted, &main, &frmMain::setStatusText);
        return grid;
    };
}

} // namespace qv::shell
