#include "common/error_advice.h"

namespace qv {

QString adviceLine(Advice advice)
{
    switch (advice) {
    case Advice::None:
        return {};
    case Advice::OpenAuction:
        return QStringLiteral("Open an auction first.");
    case Advice::OpenGridWindow:
        return QStringLiteral("Open a grid window first with File > New.");
    case Advice::MarginInInches:
        return QStringLiteral("Enter each margin in inches, for example 0.75.");
    }
    return {};
}

} // namespace qv
