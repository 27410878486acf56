#include "shell/grid_commands.h"

#include "grid/grid_routines.h"

namespace qv::shell {

namespace {

std::function<void()> pageBreakRoutine(QWidget* activeChild, void (grid::PageBreakRoutines::*routine)())
{
    grid::PageBreakRoutines& breaks = grid::pageBreaksOf(activeChild);
    return [&breaks, routine] { (breaks.*routine)(); };
}

std::function<void()> gridRoutine(QWidget* activeChild, void (grid::GridRoutines::*routine)())
{
    grid::GridRoutines& window = grid::gridRoutinesOf(activeChild);
    return [&window, routine] { (window.*routine)(); };
}

} // namespace

std::function<void()> resolveGridRoutine(QWidget* activeChild, GridRoutine routine, const QString& argument)
{
    using G = grid::GridRoutines;
    using P = grid::PageBreakRoutines;
    switch (routine) {
    case GridRoutine::None:
        return {};
    case GridRoutine::DBSaveAs:
        return gridRoutine(activeChild, &G::DBSaveAs);
    case GridRoutine::PrintGrid:
        return gridRoutine(activeChild, &G::PrintGrid);
    case GridRoutine::MarketsAnalysis:
        return gridRoutine(activeChild, &G::MarketsAnalysis);
    case GridRoutine::RoundsAnalysis:
        return gridRoutine(activeChild, &G::RoundsAnalysis);
    case GridRoutine::BiddersAnalysis:
        return gridRoutine(activeChild, &G::BiddersAnalysis);
    case GridRoutine::TableSort:
        return gridRoutine(activeChild, &G::TableSort);
    case GridRoutine::TableFilt:
        return gridRoutine(activeChild, &G::TableFilt);
    case GridRoutine::TableReset:
        return gridRoutine(activeChild, &G::TableReset);
    case GridRoutine::TableWiz:
        return gridRoutine(activeChild, &G::TableWiz);
    case GridRoutine::DropTable:
        return gridRoutine(activeChild, &G::DropTable);
    case GridRoutine::FreezeCols:
        return gridRoutine(activeChild, &G::FreezeCols);
    case GridRoutine::UnfreezeCols:
        return gridRoutine(activeChild, &G::UnfreezeCols);
    case GridRoutine::ComputeSelection: {
        G& window = grid::gridRoutinesOf(activeChild);
        return [&window, argument] { window.ComputeSelection(argument); };
    }
    case GridRoutine::PBreak_SetRow:
        return pageBreakRoutine(activeChild, &P::PBreak_SetRow);
    case GridRoutine::PBreak_DelRow:
        return pageBreakRoutine(activeChild, &P::PBreak_DelRow);
    case GridRoutine::PBreak_SetCol:
        return pageBreakRoutine(activeChild, &P::PBreak_SetCol);
    case GridRoutine::PBreak_DelCol:
        return pageBreakRoutine(activeChild, &P::PBreak_DelCol);
    case GridRoutine::PBreak_Remove:
        return pageBreakRoutine(activeChild, &P::PBreak_Remove);
    }
    return {};
}

} // namespace qv::shell
