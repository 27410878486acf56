#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace qv::shell {

// The routines of the active child window that menu items run.
enum class GridRoutine {
    None,
    DBSaveAs,
    PrintGrid,
    MarketsAnalysis,
    RoundsAnalysis,
    BiddersAnalysis,
    TableSort,
    TableFilt,
    TableReset,
    TableWiz,
    DropTable,
    FreezeCols,
    UnfreezeCols,
    ComputeSelection,
    PBreak_SetRow,
    PBreak_DelRow,
    PBreak_SetCol,
    PBreak_DelCol,
    PBreak_Remove,
};

// The routine on that window, ready to run; argument is the statistic of
// ComputeSelection ("Sum", "Average", "Count"). Error 91 when there is no
// window, 438 when the window is not one that offers the routine.
std::function<void()> resolveGridRoutine(QWidget* activeChild, GridRoutine routine,
                                         const QString& argument = QString());

} // namespace qv::shell
