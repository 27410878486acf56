#include "print/grid_lookup.h"

#include "common/error.h"
#include "common/prompter.h"
#include "grid/spread_grid.h"

#include <QWidget>

namespace qv::print {

grid::SpreadGrid& activeGrid(QWidget* activeChild)
{
    if (activeChild == nullptr)
        throw objectNotSet(Advice::OpenGridWindow);
    auto* grid = activeChild->findChild<grid::SpreadGrid*>(QStringLiteral("MSFlexGrid1"));
    if (grid == nullptr)
        throw routineNotOffered();
    return *grid;
}

void reportLoadError(Prompter& prompter, const Error& error)
{
    if (error.number() == err::NoActiveWindow)
        prompter.errorMessage(QStringLiteral("You must have an active grid displayed."),
                              QStringLiteral("Error!"), Icon::Exclamation);
    else
        prompter.error(error, ErrorLayout::Command);
}

} // namespace qv::print
