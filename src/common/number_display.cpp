#include "common/number_display.h"

#include <charconv>
#include <cmath>

namespace qv {

namespace {

// True when the digits after the fifteenth may be exactly one half: there
// to_chars rounds to even where QString::number rounds away from zero.
bool mayBeATie(double value)
{
    char digits[40];
    const auto written =
        std::to_chars(digits, digits + sizeof digits, std::abs(value), std::chars_format::scientific, 16);
    // "d.ddddddddddddddddde+XX": the sixteenth and seventeenth significant digits.
    return written.ec == std::errc() && digits[16] == '5' && digits[17] == '0';
}

} // namespace

void appendNumberText(std::string& out, double value)
{
    if (value == 0) {
        out += '0'; // minus zero too
    } else if (const double size = std::abs(value); size >= WholeDigitsFrom && size < WholeDigitsBelow) {
        // Amounts this large are whole: every digit, not "1.259e+15". The
        // shortest digits that read back as the same number.
        char digits[48];
        const auto written = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
        out.append(digits, written.ptr);
    } else if (std::isnan(value) || std::isinf(value) || mayBeATie(value)) {
        out += QString::number(value, 'g', 15).toStdString();
    } else {
        char digits[32];
        const auto written =
            std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 15);
        out.append(digits, written.ptr);
    }
}

QString numberText(double value)
{
    std::string text;
    appendNumberText(text, value);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString groupedDigits(QString digits)
{
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits;
}

QString groupedNumberText(double value)
{
    const QString text = numberText(value);
    if (!std::isfinite(value) || text.contains(QLatin1Char('e')))
        return text;
    const qsizetype first = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0)
        point = text.size();
    return text.left(first) + groupedDigits(text.mid(first, point - first)) + text.mid(point);
}

} // namespace qv
