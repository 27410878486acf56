#include "shell/grid_window_factory.h"

#include "grid/frm_flex_grid.h"

namespace qv::shell {

frmMain::ChildFactory gridWindowFactory()
{
    return [](frmMain& main) -> QWidget* { return new grid::frmFlexGrid(main.prompter()); };
}

} // namespace qv::shell
