#include "common/prompter.h"

#include "common/error.h"

namespace qv {

QString cancelledChoice(const FileChoice& choice)
{
    if (choice.cancelError)
        throw Error(err::DialogCancelled, QStringLiteral("Cancel was selected."));
    return {};
}

}  // namespace qv
