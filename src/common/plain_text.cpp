#include "common/plain_text.h"

namespace qv {

QString chartText(const QString& text)
{
    return text.toHtmlEscaped();
}

QString plainToolTip(const QString& text)
{
    if (text.isEmpty())
        return text;
    // Always marked up, so that the escaped text is never taken for plain.
    return QStringLiteral("<p style=\"white-space:pre\">") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

} // namespace qv
