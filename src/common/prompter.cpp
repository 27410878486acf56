#include "common/prompter.h"

#include "common/error.h"

namespace qv {

Answer Prompter::error(const Error& e, ErrorLayout layout, const QString& title, Icon icon)
{
    return errorMessage(errorText(layout, e), title, icon);
}

Answer Prompter::errorWhileBusy(const Error& e, ErrorLayout layout)
{
    setBusy(false);
    const Answer answer = error(e, layout);
    setBusy(true);
    return answer;
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
