// Format's date pictures and named date formats (English, United States).
#include "store/dialect/conversions.h"
#include "store/dialect/format.h"

#include <QDate>
#include <QLocale>

#include <cmath>
#include <vector>

namespace qv::store::dialect::format {

namespace {

struct Token {
    QString code; // lower case: "d", "mm", "ampm", ...; empty for a literal
    QString text; // the literal, or the AM/PM code as written
};

bool startsWithAt(const QString& s, qsizetype at, QLatin1String what)
{
    return s.mid(at, what.size()).compare(what, Qt::CaseInsensitive) == 0;
}

std::vector<Token> tokens(const QString& s)
{
    std::vector<Token> out;
    auto literal = [&](const QString& text) {
        if (!out.empty() && out.back().code.isEmpty())
            out.back().text += text;
        else
            out.push_back({QString(), text});
    };
    for (qsizetype i = 0; i < s.size();) {
        const QChar c = s[i];
        if (c == QLatin1Char('"')) {
            const qsizetype close = s.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype end = close < 0 ? s.size() : close;
            literal(s.mid(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        if (c == QLatin1Char('\\') && i + 1 < s.size()) {
            literal(QString(s[i + 1]));
            i += 2;
            continue;
        }
        bool matched = false;
        for (const char* marker : {"am/pm", "a/p", "ampm"}) {
            if (startsWithAt(s, i, QLatin1String(marker))) {
                out.push_back({QString::fromLatin1(marker), s.mid(i, qsizetype(strlen(marker)))});
                i += qsizetype(strlen(marker));
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        const QChar lower = c.toLower();
        static const QString letters = QStringLiteral("dwmqyhnsatoc");
        if (letters.contains(lower)) {
            qsizetype run = 1;
            while (i + run < s.size() && s[i + run].toLower() == lower)
                ++run;
            // The longest code the run holds, then the rest of the run again.
            static const std::vector<std::pair<QChar, std::vector<int>>> lengths = {
                {QLatin1Char('d'), {6, 5, 4, 3, 2, 1}},
                {QLatin1Char('w'), {2, 1}},
                {QLatin1Char('m'), {4, 3, 2, 1}},
                {QLatin1Char('q'), {1}},
                {QLatin1Char('y'), {4, 2, 1}},
                {QLatin1Char('h'), {2, 1}},
                {QLatin1Char('n'), {2, 1}},
                {QLatin1Char('s'), {2, 1}},
                {QLatin1Char('a'), {4}},
                {QLatin1Char('o'), {4}},
                {QLatin1Char('t'), {5}},
                {QLatin1Char('c'), {1}}};
            for (const auto& [letter, sizes] : lengths) {
                if (letter != lower)
                    continue;
                for (int size : sizes) {
                    if (run >= size) {
                        out.push_back({QString(size, lower), QString()});
                        i += size;
                        matched = true;
                        break;
                    }
                }
            }
            if (matched)
                continue;
        }
        literal(QString(c));
        ++i;
    }
    return out;
}

bool isHour(const Token& t)
{
    return t.code == QLatin1String("h") || t.code == QLatin1String("hh");
}

bool isSecond(const Token& t)
{
    return t.code == QLatin1String("s") || t.code == QLatin1String("ss");
}

// m and mm stand for minutes after an hour, or before seconds, with only
// separators between.
bool meansMinutes(const std::vector<Token>& t, size_t k)
{
    for (size_t j = k; j-- > 0;) {
        if (t[j].code.isEmpty())
            continue;
        if (isHour(t[j]))
            return true;
        break;
    }
    for (size_t j = k + 1; j < t.size(); ++j) {
        if (t[j].code.isEmpty())
            continue;
        return isSecond(t[j]);
    }
    return false;
}

const QLocale& english()
{
    static const QLocale locale(QLocale::English, QLocale::UnitedStates);
    return locale;
}

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString namedPicture(const QString& name)
{
    static const std::pair<const char*, const char*> named[] = {
        {"Long Date", "dddd, mmmm d, yyyy"}, {"Medium Date", "dd-mmm-yy"},   {"Short Date", "m/d/yyyy"},
        {"Long Time", "h:mm:ss AM/PM"},      {"Medium Time", "hh:mm AM/PM"}, {"Short Time", "hh:mm"}};
    for (const auto& [n, picture] : named)
        if (name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(picture);
    return {};
}

} // namespace

bool isDatePicture(const QString& picture)
{
    const QString named = picture.trimmed();
    for (const char* number : {"General Number", "Currency", "Fixed", "Standard", "Percent", "Scientific",
                               "Yes/No", "True/False", "On/Off"})
        if (named.compare(QLatin1String(number), Qt::CaseInsensitive) == 0)
            return false;
    if (named.compare(QLatin1String("General Date"), Qt::CaseInsensitive) == 0 ||
        !namedPicture(named).isEmpty())
        return true;
    bool hasDateCode = false;
    for (const Token& t : tokens(picture)) {
        if (!t.code.isEmpty())
            hasDateCode = true;
        else if (t.text.contains(QLatin1Char('0')) || t.text.contains(QLatin1Char('#')))
            return false;
    }
    return hasDateCode;
}

QString date(double serial, const QString& picture)
{
    const QString named = picture.trimmed();
    if (named.isEmpty() || named.compare(QLatin1String("General Date"), Qt::CaseInsensitive) == 0)
        return dateToText(serial);
    const QString namedOne = namedPicture(named);
    const std::vector<Token> t = tokens(namedOne.isEmpty() ? picture : namedOne);
    const DateParts p = partsOf(serial);
    bool twelveHour = false;
    for (const Token& token : t)
        if (token.code == QLatin1String("am/pm") || token.code == QLatin1String("a/p") ||
            token.code == QLatin1String("ampm"))
            twelveHour = true;
    const int hour = twelveHour ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;
    const QDate day(p.year, p.month, p.day);
    const int qtWeekday = day.dayOfWeek();
    QString out;
    for (size_t k = 0; k < t.size(); ++k) {
        const QString& c = t[k].code;
        if (c.isEmpty())
            out += t[k].text;
        else if (c == QLatin1String("c"))
            out += dateToText(serial);
        else if (c == QLatin1String("d"))
            out += QString::number(p.day);
        else if (c == QLatin1String("dd"))
            out += twoDigits(p.day);
        else if (c == QLatin1String("ddd"))
            out += english().dayName(qtWeekday, QLocale::ShortFormat);
        else if (c == QLatin1String("dddd") || c == QLatin1String("aaaa"))
            out += english().dayName(qtWeekday, QLocale::LongFormat);
        else if (c == QLatin1String("ddddd"))
            out += date(serial, QStringLiteral("m/d/yyyy"));
        else if (c == QLatin1String("dddddd"))
            out += date(serial, QStringLiteral("dddd, mmmm d, yyyy"));
        else if (c == QLatin1String("w"))
            out += QString::number(p.weekday);
        else if (c == QLatin1String("ww")) // week 1 holds 1 January; weeks start on Sunday
            out += QString::number((p.dayOfYear - 1 + (QDate(p.year, 1, 1).dayOfWeek() % 7)) / 7 + 1);
        else if (c == QLatin1String("m"))
            out += QString::number(meansMinutes(t, k) ? p.minute : p.month);
        else if (c == QLatin1String("mm"))
            out += twoDigits(meansMinutes(t, k) ? p.minute : p.month);
        else if (c == QLatin1String("mmm"))
            out += english().monthName(p.month, QLocale::ShortFormat);
        else if (c == QLatin1String("mmmm") || c == QLatin1String("oooo"))
            out += english().monthName(p.month, QLocale::LongFormat);
        else if (c == QLatin1String("q"))
            out += QString::number((p.month - 1) / 3 + 1);
        else if (c == QLatin1String("y"))
            out += QString::number(p.dayOfYear);
        else if (c == QLatin1String("yy"))
            out += twoDigits(p.year % 100);
        else if (c == QLatin1String("yyyy"))
            out += QString::number(p.year);
        else if (c == QLatin1String("h"))
            out += QString::number(hour);
        else if (c == QLatin1String("hh"))
            out += twoDigits(hour);
        else if (c == QLatin1String("n"))
            out += QString::number(p.minute);
        else if (c == QLatin1String("nn"))
            out += twoDigits(p.minute);
        else if (c == QLatin1String("s"))
            out += QString::number(p.second);
        else if (c == QLatin1String("ss"))
            out += twoDigits(p.second);
        else if (c == QLatin1String("ttttt"))
            out += date(serial, QStringLiteral("h:mm:ss AM/PM"));
        else if (c == QLatin1String("am/pm") || c == QLatin1String("ampm")) {
            const bool lower = c == QLatin1String("am/pm") && t[k].text[0].isLower();
            const QString marker = p.hour < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
            out += lower ? marker.toLower() : marker;
        } else if (c == QLatin1String("a/p")) {
            const QChar marker = p.hour < 12 ? QLatin1Char('A') : QLatin1Char('P');
            out += t[k].text[0].isLower() ? marker.toLower() : marker;
        }
    }
    return out;
}

} // namespace qv::store::dialect::format
