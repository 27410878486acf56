#include "shell/grid_window_factory.h"

#include "grid/frm_flex_grid.h"

#include <QMenu>

namespace qv::shell {

frmMain::ChildFactory gridWindowFactory()
{
    return [](frmMain& main) -> QWidget* {
        auto* grid = new grid::frmFlexGrid(main.prompter());
        QObject::connect(grid, &grid::frmFlexGrid::tableListWanted, &main, &frmMain::PopulateTables);
        QObject::connect(grid, &grid::frmFlexGrid::roundListWanted, &main, &frmMain::PopulateRounds);
        QObject::connect(grid, &grid::frmFlexGrid::statusTextWanted, &main, &frmMain::setStatusText);
        // The "Page Breaks" pop-up, centred on the click.
        QObject::connect(grid, &grid::frmFlexGrid::pageBreakMenuWanted, &main, [&main](QPoint at) {
            QMenu* menu = main.pageBreakMenu();
            menu->popup(at - QPoint(menu->sizeHint().width() / 2, 0));
        });
        return grid;
    };
}

} // namespace qv::shell
