#include "print/grid_lookup.h"

#include "common/error.h"
#include "common/prompter.h"
#include "grid/grid_routines.h"

namespace qv::print {

grid::SpreadGrid& activeGrid(QWidget* activeChild)
{
    return grid::pageBreaksOf(activeChild).printedGrid();
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
