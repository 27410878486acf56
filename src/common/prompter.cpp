#include "common/prompter.h"

#include "common/error.h"

namespace qv {

Answer Prompter::error(const Error& e, ErrorLayout layout, const QString& title, Icon icon)
{
    return errorMessage(errorText(layout, e), title, icon);
}

void showGenericError(Prompter& prompter, const Error& error)
{
    prompter.error(error, ErrorLayout::Generic, QStringLiteral("Quorvane"));
}

QString cancelledChoice(const FileChoice& choice)
{
    if (choice.cancelError)
        throw Error(err::DialogCancelled, QStringLiteral("Cancel was selected."));
    return {};
}

} // namespace qv
