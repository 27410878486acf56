#include "store/dialect/conversions.h"

#include "common/number_display.h"

#include <QDate>
#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace qv::store::dialect {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

// &H and &O literals are whole numbers of 16 bits when they fit, else of 32.
std::optional<double> radixNumber(const QString& digits, int base)
{
    if (digits.isEmpty() || digits.size() > (base == 16 ? 8 : 11))
        return std::nullopt;
    bool ok = false;
    const qulonglong value = digits.toULongLong(&ok, base);
    if (!ok || value > 0xFFFFFFFFull)
        return std::nullopt;
    if (value <= 0xFFFF)
        return double(static_cast<qint16>(static_cast<quint16>(value)));
    return double(static_cast<qint32>(static_cast<quint32>(value)));
}

// Rounds the decimal digits of value at the given decimals; ties go by the
// rule given. Works on the 15 significant digits a number is written with, so
// that 0.12345 is the half it looks like.
double roundDecimal(double value, int decimals, bool tieToEven)
{
    if (!std::isfinite(value) || value == 0 || decimals > 22)
        return value;
    char buffer[40];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14);
    const std::string text(buffer, written.ptr);
    const std::string digits = text.substr(0, 1) + text.substr(2, 14); // 15 digits
    const int exponent = std::atoi(text.c_str() + text.find('e') + 1);
    const int kept = exponent + 1 + decimals; // digits before the rounding point
    if (kept >= 15)
        return value;
    if (kept < 0)
        return 0.0 * value;
    std::string head = digits.substr(0, size_t(kept));
    const std::string rest = digits.substr(size_t(kept));
    const std::string half = "5" + std::string(rest.size() - 1, '0');
    const int order = rest.compare(half);
    const bool lastOdd = !head.empty() && (head.back() - '0') % 2 == 1;
    bool up = order > 0 || (order == 0 && (!tieToEven || lastOdd));
    if (head.empty())
        head = "0";
    if (up) {
        int i = int(head.size()) - 1;
        for (; i >= 0 && head[size_t(i)] == '9'; --i)
            head[size_t(i)] = '0';
        if (i < 0)
            head.insert(head.begin(), '1');
        else
            ++head[size_t(i)];
    }
    const std::string scaled = head + "e" + std::to_string(-decimals);
    const double result = std::strtod(scaled.c_str(), nullptr);
    return value < 0 ? -result : result;
}

QDate dayZero()
{
    return QDate(1899, 12, 30);
}

int fourDigitYear(int year, qsizetype written)
{
    if (written <= 2)
        return year < 30 ? 2000 + year : 1900 + year;
    return year;
}

int monthOfName(const QString& name)
{
    static const char* const names[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
    const QString n = name.toLower();
    if (n.size() < 3)
        return 0;
    for (int i = 0; i < 12; ++i) {
        const QLatin1String abbreviation(names[i]);
        if (n.startsWith(abbreviation)) {
            static const char* const full[] = {"january",   "february", "march",    "april",
                                               "may",       "june",     "july",     "august",
                                               "september", "october",  "november", "december"};
            if (n.size() == 3 || QLatin1String(full[i]).startsWith(n) || n == abbreviation + QLatin1Char('.'))
                return i + 1;
        }
    }
    return 0;
}

} // namespace

QString numberToText(double value)
{
    // A whole amount is written in full while a double holds it exactly.
    if (value == std::trunc(value) && std::fabs(value) < 9007199254740992.0)
        return QString::number(qint64(value));
    // Beyond that, 15 significant digits as the engine writes them: the
    // program's own number text spells out every digit from 1e15 up.
    const double size = std::fabs(value);
    QString text = size >= WholeDigitsFrom && size < WholeDigitsBelow ? QString::number(value, 'g', 15)
                                                                      : numberText(value);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    if (e >= 0)
        text[e] = QLatin1Char('E');
    return text;
}

std::optional<double> textToNumber(const QString& input)
{
    QString s = input.trimmed();
    if (s.isEmpty())
        return std::nullopt;
    if (s.size() > 2 && s[0] == QLatin1Char('&')) {
        const QChar radix = s[1].toUpper();
        if (radix == QLatin1Char('H'))
            return radixNumber(s.mid(2), 16);
        if (radix == QLatin1Char('O'))
            return radixNumber(s.mid(2), 8);
        return std::nullopt;
    }
    bool negative = false;
    if (s.startsWith(QLatin1Char('(')) && s.endsWith(QLatin1Char(')'))) {
        negative = true;
        s = s.mid(1, s.size() - 2).trimmed();
    }
    if (!s.isEmpty() && (s[0] == QLatin1Char('-') || s[0] == QLatin1Char('+'))) {
        negative = negative != (s[0] == QLatin1Char('-'));
        s = s.mid(1).trimmed();
    }
    if (s.startsWith(QLatin1Char('$')))
        s = s.mid(1).trimmed();
    if (!s.isEmpty() && (s[0] == QLatin1Char('-') || s[0] == QLatin1Char('+'))) {
        negative = negative != (s[0] == QLatin1Char('-'));
        s = s.mid(1);
    }
    // Digits with thousands separators, a point, digits, an exponent.
    std::string plain;
    qsizetype i = 0;
    bool digits = false;
    for (; i < s.size() && (s[i].isDigit() || s[i] == QLatin1Char(',')); ++i) {
        if (s[i] != QLatin1Char(',')) {
            plain += char(s[i].unicode());
            digits = true;
        }
    }
    if (i < s.size() && s[i] == QLatin1Char('.')) {
        plain += '.';
        for (++i; i < s.size() && s[i].isDigit(); ++i) {
            plain += char(s[i].unicode());
            digits = true;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < s.size() && (s[i].toLower() == QLatin1Char('e') || s[i].toLower() == QLatin1Char('d'))) {
        std::string exponent = "e";
        qsizetype j = i + 1;
        if (j < s.size() && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
            exponent += char(s[j++].unicode());
        const qsizetype first = j;
        for (; j < s.size() && s[j].isDigit(); ++j)
            exponent += char(s[j].unicode());
        if (j == first)
            return std::nullopt;
        plain += exponent;
        i = j;
    }
    if (i != s.size())
        return std::nullopt;
    const double value = std::strtod(plain.c_str(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

double leadingNumber(const QString& text)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (!isBlank(c))
            s += c;
    if (s.size() > 1 && s[0] == QLatin1Char('&')) {
        const QChar radix = s[1].toUpper();
        const int base = radix == QLatin1Char('H') ? 16 : radix == QLatin1Char('O') ? 8 : 0;
        if (base == 0)
            return 0;
        qsizetype end = 2;
        while (end < s.size() && (base == 16 ? s[end].unicode() < 128 && isxdigit(s[end].unicode()) != 0
                                             : s[end] >= QLatin1Char('0') && s[end] <= QLatin1Char('7')))
            ++end;
        return radixNumber(s.mid(2, end - 2), base).value_or(0);
    }
    std::string plain;
    qsizetype i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
        plain += char(s[i++].unicode());
    for (; i < s.size() && s[i].isDigit(); ++i)
        plain += char(s[i].unicode());
    if (i < s.size() && s[i] == QLatin1Char('.'))
        for (plain += '.', ++i; i < s.size() && s[i].isDigit(); ++i)
            plain += char(s[i].unicode());
    if (i + 1 < s.size() && (s[i].toLower() == QLatin1Char('e') || s[i].toLower() == QLatin1Char('d'))) {
        qsizetype j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
            exponent += char(s[j++].unicode());
        if (j < s.size() && s[j].isDigit()) {
            for (; j < s.size() && s[j].isDigit(); ++j)
                exponent += char(s[j].unicode());
            plain += exponent;
        }
    }
    const double value = std::strtod(plain.c_str(), nullptr);
    return std::isfinite(value) ? value : 0;
}

double roundHalfEven(double value, int decimals)
{
    return roundDecimal(value, decimals, true);
}

double roundHalfAway(double value, int decimals)
{
    return roundDecimal(value, decimals, false);
}

std::optional<double> storedToDate(const QString& s)
{
    // "yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss" (a 'T' also separates them).
    if (s.size() != 10 && s.size() != 19)
        return std::nullopt;
    auto number = [&](qsizetype at, qsizetype length) {
        int n = 0;
        for (qsizetype k = at; k < at + length; ++k) {
            if (!s[k].isDigit())
                return -1;
            n = n * 10 + s[k].digitValue();
        }
        return n;
    };
    if (s[4] != QLatin1Char('-') || s[7] != QLatin1Char('-'))
        return std::nullopt;
    DateParts p{number(0, 4), number(5, 2), number(8, 2), 0, 0, 0, 0, 0};
    if (s.size() == 19) {
        if ((s[10] != QLatin1Char(' ') && s[10] != QLatin1Char('T')) || s[13] != QLatin1Char(':') ||
            s[16] != QLatin1Char(':'))
            return std::nullopt;
        p.hour = number(11, 2);
        p.minute = number(14, 2);
        p.second = number(17, 2);
    }
    if (p.year < 0 || p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 || p.second < 0 ||
        p.second > 59 || !QDate::isValid(p.year, p.month, p.day))
        return std::nullopt;
    return serialOf(p);
}

std::optional<double> textToDate(const QString& input)
{
    const QString text = input.trimmed();
    if (const auto stored = storedToDate(text))
        return stored;
    static const QRegularExpression pattern(
        QStringLiteral("^(?:(?<numeric>(?<a>\\d{1,4})[/-](?<b>\\d{1,2})(?:[/-](?<c>\\d{1,4}))?)"
                       "|(?<dmy>(?<dd>\\d{1,2})[ -](?<dmon>[A-Za-z]{3,9}\\.?)[-, ]+(?<dyear>\\d{1,4}))"
                       "|(?<mdy>(?<mmon>[A-Za-z]{3,9}\\.?) +(?<md>\\d{1,2}),? +(?<myear>\\d{1,4})))?"
                       "(?:(?:^|[ T]+)(?<hour>\\d{1,2})(?::(?<minute>\\d{1,2}))?(?::(?<second>\\d{1,2}))?"
                       " *(?<ampm>[AaPp][Mm]?)?)?$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch() || text.isEmpty())
        return std::nullopt;
    const bool hasDate = m.capturedLength(QStringLiteral("numeric")) > 0 ||
                         m.capturedLength(QStringLiteral("dmy")) > 0 ||
                         m.capturedLength(QStringLiteral("mdy")) > 0;
    const bool hasTime = m.capturedLength(QStringLiteral("hour")) > 0;
    // A bare number is no date; a time needs a colon or AM/PM.
    if (hasTime && m.capturedLength(QStringLiteral("minute")) == 0 &&
        m.capturedLength(QStringLiteral("ampm")) == 0)
        return std::nullopt;
    if (!hasDate && !hasTime)
        return std::nullopt;
    DateParts p{1899, 12, 30, 0, 0, 0, 0, 0};
    auto captured = [&](const char* name) { return m.captured(QLatin1String(name)); };
    if (m.capturedLength(QStringLiteral("numeric")) > 0) {
        const QString a = captured("a");
        const QString c = captured("c");
        if (a.size() > 2) { // yyyy/m/d
            if (c.isEmpty())
                return std::nullopt;
            p.year = a.toInt();
            p.month = captured("b").toInt();
            p.day = c.toInt();
        } else {
            p.month = a.toInt();
            p.day = captured("b").toInt();
            p.year = c.isEmpty() ? QDate::currentDate().year() : fourDigitYear(c.toInt(), c.size());
        }
    } else if (m.capturedLength(QStringLiteral("dmy")) > 0) {
        p.day = captured("dd").toInt();
        p.month = monthOfName(captured("dmon"));
        p.year = fourDigitYear(captured("dyear").toInt(), captured("dyear").size());
    } else if (m.capturedLength(QStringLiteral("mdy")) > 0) {
        p.month = monthOfName(captured("mmon"));
        p.day = captured("md").toInt();
        p.year = fourDigitYear(captured("myear").toInt(), captured("myear").size());
    }
    if (!QDate::isValid(p.year, p.month, p.day))
        return std::nullopt;
    if (hasTime) {
        p.hour = captured("hour").toInt();
        p.minute = captured("minute").toInt();
        p.second = captured("second").toInt();
        const QString ampm = captured("ampm").toUpper();
        if (!ampm.isEmpty()) {
            if (p.hour < 1 || p.hour > 12)
                return std::nullopt;
            p.hour = p.hour % 12 + (ampm.startsWith(QLatin1Char('P')) ? 12 : 0);
        }
        if (p.hour > 23 || p.minute > 59 || p.second > 59)
            return std::nullopt;
    }
    return serialOf(p);
}

double serialOfDay(int year, int month, int day)
{
    // Months and days out of range carry into the next larger unit.
    const int months = month - 1;
    year += months >= 0 ? months / 12 : (months - 11) / 12;
    month = (months % 12 + 12) % 12 + 1;
    const QDate first(year, month, 1);
    return double(dayZero().daysTo(first) + (day - 1));
}

DateParts partsOf(double serial)
{
    // Callers keep to the engine's years; anything else must not reach the calendar.
    if (!(std::fabs(serial) < 1e8))
        serial = 0;
    double whole = std::trunc(serial);
    qint64 seconds = std::llround(std::fabs(serial - whole) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        whole += serial < 0 ? -1 : 1;
    }
    const QDate date = dayZero().addDays(qint64(whole));
    DateParts p{};
    p.year = date.year();
    p.month = date.month();
    p.day = date.day();
    p.hour = int(seconds / 3600);
    p.minute = int(seconds / 60 % 60);
    p.second = int(seconds % 60);
    p.weekday = date.dayOfWeek() % 7 + 1;
    p.dayOfYear = date.dayOfYear();
    return p;
}

double serialOf(const DateParts& p)
{
    const double days = double(dayZero().daysTo(QDate(p.year, p.month, p.day)));
    const double time = (p.hour * 3600.0 + p.minute * 60.0 + p.second) / 86400.0;
    return days < 0 ? days - time : days + time;
}

bool dateInRange(double serial)
{
    return std::isfinite(serial) && serial >= -657434.0 && serial < 2958466.0;
}

QString dateToStored(double serial)
{
    const DateParts p = partsOf(serial);
    QString s = QStringLiteral("%1-%2-%3")
                    .arg(p.year, 4, 10, QLatin1Char('0'))
                    .arg(p.month, 2, 10, QLatin1Char('0'))
                    .arg(p.day, 2, 10, QLatin1Char('0'));
    if (p.hour != 0 || p.minute != 0 || p.second != 0)
        s += QStringLiteral(" %1:%2:%3")
                 .arg(p.hour, 2, 10, QLatin1Char('0'))
                 .arg(p.minute, 2, 10, QLatin1Char('0'))
                 .arg(p.second, 2, 10, QLatin1Char('0'));
    return s;
}

QString dateToText(double serial)
{
    const DateParts p = partsOf(serial);
    const bool timeOnly = std::trunc(serial) == 0;
    const bool dateOnly = p.hour == 0 && p.minute == 0 && p.second == 0;
    QString s;
    if (!timeOnly || dateOnly)
        s = QStringLiteral("%1/%2/%3").arg(p.month).arg(p.day).arg(p.year);
    if (!dateOnly) {
        if (!s.isEmpty())
            s += QLatin1Char(' ');
        s += QStringLiteral("%1:%2:%3 %4")
                 .arg(p.hour % 12 == 0 ? 12 : p.hour % 12)
                 .arg(p.minute, 2, 10, QLatin1Char('0'))
                 .arg(p.second, 2, 10, QLatin1Char('0'))
                 .arg(p.hour < 12 ? QLatin1String("AM") : QLatin1String("PM"));
    }
    return s;
}

QString errorText(int number)
{
    switch (number) {
    case 5:
        return QStringLiteral("Invalid procedure call or argument");
    case 6:
        return QStringLiteral("Overflow");
    case 11:
        return QStringLiteral("Division by zero");
    case 13:
        return QStringLiteral("Type mismatch");
    case 94:
        return QStringLiteral("Invalid use of Null");
    case 3464:
        return QStringLiteral("Data type mismatch in criteria expression.");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

} // namespace qv::store::dialect
