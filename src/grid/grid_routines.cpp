#include "grid/grid_routines.h"

#include "common/error.h"

#include <QWidget>

namespace qv::grid {

namespace {

template <typename Routines> Routines& routinesOf(QWidget* activeChild)
{
    if (activeChild == nullptr)
        throw objectNotSet(Advice::OpenGridWindow);
    auto* routines = qobject_cast<Routines*>(activeChild);
    if (routines == nullptr)
        throw routineNotOffered();
    return *routines;
}

} // namespace

GridRoutines& gridRoutinesOf(QWidget* activeChild)
{
    return routinesOf<GridRoutines>(activeChild);
}

PageBreakRoutines& pageBreaksOf(QWidget* activeChild)
{
    return routinesOf<PageBreakRoutines>(activeChild);
}

} // namespace qv::grid
