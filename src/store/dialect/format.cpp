// Format(value[, picture]): numbers, dates and texts each by their own pictures.
#include "store/dialect/format.h"

#include "store/dialect/conversions.h"
#include "store/dialect/runtime.h"

#include <QStringList>

#include <cmath>

namespace qv::store::dialect {

namespace format {

namespace {

// The characters of a picture that are not literal: outside "quotes" and not
// after a backslash.
template <typename F> void eachMarker(const QString& picture, F f)
{
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const QChar c = picture[i];
        if (c == QLatin1Char('\\')) {
            ++i;
        } else if (c == QLatin1Char('"')) {
            const qsizetype close = picture.indexOf(QLatin1Char('"'), i + 1);
            i = close < 0 ? picture.size() : close;
        } else {
            f(c);
        }
    }
}

// One section of a text picture. @ is a character or a blank, & a character
// or nothing; they fill from the right unless ! asks for the left. < and >
// turn the text to lower or upper case. "Quoted" text and a character after a
// backslash are written as they are.
QString textSection(const QString& value, const QString& picture)
{
    bool lower = false;
    bool upper = false;
    bool fromLeft = false;
    qsizetype places = 0;
    eachMarker(picture, [&](QChar c) {
        lower = lower || c == QLatin1Char('<');
        upper = upper || c == QLatin1Char('>');
        fromLeft = fromLeft || c == QLatin1Char('!');
        if (c == QLatin1Char('@') || c == QLatin1Char('&'))
            ++places;
    });
    QString s = value;
    if (lower)
        s = s.toLower();
    if (upper)
        s = s.toUpper();
    const qsizetype extra = s.size() - places;
    QString out;
    qsizetype place = 0;
    for (qsizetype i = 0; i < picture.size(); ++i) {
        const QChar c = picture[i];
        if (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('!'))
            continue;
        if (c == QLatin1Char('\\') && i + 1 < picture.size()) {
            out += picture[++i];
            continue;
        }
        if (c == QLatin1Char('"')) {
            const qsizetype close = picture.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype stop = close < 0 ? picture.size() : close;
            out += picture.mid(i + 1, stop - i - 1);
            i = stop;
            continue;
        }
        if (c != QLatin1Char('@') && c != QLatin1Char('&')) {
            out += c;
            continue;
        }
        if (fromLeft) {
            if (place < s.size())
                out += s[place];
            else if (c == QLatin1Char('@'))
                out += QLatin1Char(' ');
            if (place == places - 1 && extra > 0)
                out += s.mid(places);
        } else {
            if (place == 0 && extra > 0)
                out += s.left(extra);
            const qsizetype index = extra + place;
            if (index >= 0)
                out += s[index];
            else if (c == QLatin1Char('@'))
                out += QLatin1Char(' ');
        }
        ++place;
    }
    // A picture of no places writes the text after its literals.
    return places == 0 ? out + s : out;
}

} // namespace

bool isTextPicture(const QString& picture)
{
    bool marker = false;
    bool digit = false;
    eachMarker(picture, [&](QChar c) {
        digit = digit || c == QLatin1Char('0') || c == QLatin1Char('#');
        marker = marker || c == QLatin1Char('@') || c == QLatin1Char('&') || c == QLatin1Char('<') ||
                 c == QLatin1Char('>');
    });
    return marker && !digit;
}

// The first section for a text; the second, when there is one, for a
// zero-length text and for Null.
QString text(const QString& value, const QString& picture)
{
    const QStringList parts = sections(picture);
    if (parts.isEmpty())
        return value;
    return textSection(value, value.isEmpty() && parts.size() > 1 ? parts[1] : parts[0]);
}

std::optional<QString> textNullSection(const QString& picture)
{
    const QStringList parts = sections(picture);
    if (parts.size() < 2)
        return std::nullopt;
    return textSection(QString(), parts[1]);
}

} // namespace format

namespace {

using namespace runtime;

void formatFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    const QString picture = argc > 1 && !isNull(a[1]) ? textArg(a[1]) : QString();
    if (isNull(a[0])) {
        if (const auto shown = format::isTextPicture(picture) ? format::textNullSection(picture)
                                                              : format::nullSection(picture))
            resultText(ctx, *shown);
        else
            sqlite3_result_null(ctx);
        return;
    }
    const bool datePicture = format::isDatePicture(picture);
    if (isNumber(a[0])) {
        const double n = sqlite3_value_double(a[0]);
        // An infinite amount (an overflow SQLite let through) has no digits to write.
        if (!std::isfinite(n))
            raise(6);
        // A number a date picture cannot make a date of overflows, as CDate does.
        if (datePicture && !dateInRange(n) && !format::isTextPicture(picture))
            raise(6);
        if (datePicture && dateInRange(n))
            resultText(ctx, format::date(n, picture));
        else if (format::isTextPicture(picture))
            resultText(ctx, format::text(textArg(a[0]), picture));
        else
            resultText(ctx, format::number(n, picture));
        return;
    }
    const QString text = textArg(a[0]);
    if (format::isTextPicture(picture)) {
        resultText(ctx, format::text(text, picture));
        return;
    }
    // A date, whether typed, stored or written as text; a number written as text.
    if (const auto date = textToDate(text)) {
        resultText(ctx, datePicture || picture.trimmed().isEmpty() ? format::date(*date, picture)
                                                                   : format::number(*date, picture));
        return;
    }
    if (const auto n = textToNumber(text)) {
        resultText(ctx, datePicture ? format::date(*n, picture) : format::number(*n, picture));
        return;
    }
    resultText(ctx, text);
}

} // namespace

void registerFormat(sqlite3* db)
{
    defineFunction(db, "qv_format", 1, guarded<formatFn>);
    defineFunction(db, "qv_format", 2, guarded<formatFn>);
}

} // namespace qv::store::dialect
