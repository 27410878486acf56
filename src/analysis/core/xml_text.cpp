#include "analysis/core/xml_text.h"

#include "analysis/core/workbook.h"

#include <charconv>
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
    QByteArray reference;
    appendCellReference(reference, row, column);
    return reference;
}

void appendCellReference(QByteArray& xml, int row, int column)
{
    char letters[8];
    int count = 0;
    while (column > 0 && count < 8) {
        letters[count++] = static_cast<char>('A' + (column - 1) % 26);
        column = (column - 1) / 26;
    }
    while (count > 0)
        xml += letters[--count];
    appendInteger(xml, row);
}

void appendInteger(QByteArray& xml, qint64 value)
{
    char digits[24];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
    xml.append(digits, end.ptr - digits);
}

void appendXmlNumber(QByteArray& xml, double value)
{
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        appendInteger(xml, static_cast<qint64>(value));
    else
        xml += xmlNumber(value);
}

} // namespace qv::analysis
