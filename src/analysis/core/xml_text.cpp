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
        // As references: an attribute's value would read them as blanks.
        case u'\t':
            out += QStringLiteral("&#9;");
            break;
        case u'\n':
            out += QStringLiteral("&#10;");
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

namespace {

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

// "_x" and four hex digits and "_": what a reader takes for an escape.
bool startsAnEscape(const QString& text, qsizetype at)
{
    if (at + 7 > text.size() || text[at + 1] != QLatin1Char('x') || text[at + 6] != QLatin1Char('_'))
        return false;
    for (qsizetype i = at + 2; i < at + 6; ++i) {
        if (!isHexDigit(text[i]))
            return false;
    }
    return true;
}

bool xmlCannotHold(QChar c, bool pairedSurrogate)
{
    const char16_t u = c.unicode();
    if (u < 0x20)
        return u != u'\t' && u != u'\n'; // a carriage return would be read as a line feed
    return u == 0xFFFE || u == 0xFFFF || (c.isSurrogate() && !pairedSurrogate);
}

} // namespace

QByteArray xlsxText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool paired = (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ||
                            (c.isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate());
        if (xmlCannotHold(c, paired) || (c == QLatin1Char('_') && startsAnEscape(text, i))) {
            static const char hex[] = "0123456789ABCDEF";
            out += QLatin1String("_x");
            for (const int shift : {12, 8, 4, 0})
                out += QLatin1Char(hex[(c.unicode() >> shift) & 0xF]);
            out += QLatin1Char('_');
        } else {
            out += c;
        }
    }
    return xmlEscaped(out);
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
