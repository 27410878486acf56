#include "common/statement_values.h"

#include <QRegularExpression>

namespace qv {

bool isNumericText(const QString& text)
{
    // Only digits, one point, a sign and an exponent: such a value goes into a
    // statement unquoted, so nothing else may pass (no "inf", no names).
    static const QRegularExpression number(
        QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)"));
    return number.match(text).hasMatch();
}

bool isRoundNumber(const QString& round)
{
    if (round.isEmpty() || round.size() > 9)
        return false;
    for (const QChar c : round)
        if (!c.isDigit() || c.unicode() > 127)
            return false;
    return true;
}

QString quotedText(const QString& text, QChar quote)
{
    QString inner = text;
    inner.replace(quote, QString(2, quote));
    return quote + inner + quote;
}

} // namespace qv
