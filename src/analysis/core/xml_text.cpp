#include "analysis/core/xml_text.h"

#include "analysis/core/workbook.h"

#include <cmath>

namespace qv::analysis {

QByteArray xmlEscaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'"':
            out += QStringLiteral("&quot;");
            break;
        case u'\t':
        case u'\n':
            out += c;
            break;
        case u'\r':
            out += QStringLiteral("&#13;");
            break;
        default:
            if (c.unicode() >= 0x20 && c.unicode() != 0xFFFE && c.unicode() != 0xFFFF)
                out += c;
        }
    }
    return out.toUtf8();
}

QByteArray xmlNumber(double value)
{
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return QByteArray::number(static_cast<qint64>(value));
    return QByteArray::number(value, 'g', 17);
}

QByteArray cellReference(int row, int column)
{
    return columnLetters(column).toLatin1() + QByteArray::number(row);
}

} // namespace qv::analysis
