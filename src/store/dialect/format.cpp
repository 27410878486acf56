// Format(value[, picture]): numbers, dates and texts each by their own pictures.
#include "store/dialect/format.h"

#include "store/dialect/conversions.h"
#include "store/dialect/runtime.h"

#include <QStringList>

namespace qv::store::dialect {

namespace format {

bool isTextPicture(const QString& picture)
{
    bool marker = false;
    for (QChar c : picture) {
        if (c == QLatin1Char('0') || c == QLatin1Char('#'))
            return false;
        if (c == QLatin1Char('@') || c == QLatin1Char('&') || c == QLatin1Char('<') || c == QLatin1Char('>'))
            marker = true;
    }
    return marker;
}

// @ is a character or a blank, & a character or nothing; they fill from the
// right unless ! asks for the left. < and > turn the text to lower or upper case.
QString text(const QString& value, const QString& picture)
{
    QString s = value;
    if (picture.contains(QLatin1Char('<')))
        s = s.toLower();
    if (picture.contains(QLatin1Char('>')))
        s = s.toUpper();
    const bool fromLeft = picture.contains(QLatin1Char('!'));
    qsizetype places = 0;
    for (QChar c : picture)
        if (c == QLatin1Char('@') || c == QLatin1Char('&'))
            ++places;
    if (places == 0)
        return s;
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
    return out;
}

} // namespace format

namespace {

using namespace runtime;

void formatFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    const QString picture = argc > 1 && !isNull(a[1]) ? textArg(a[1]) : QString();
    if (isNull(a[0])) {
        if (const auto shown = format::nullSection(picture))
            resultText(ctx, *shown);
        else
            sqlite3_result_null(ctx);
        return;
    }
    const bool datePicture = format::isDatePicture(picture);
    if (isNumber(a[0])) {
        const double n = sqlite3_value_double(a[0]);
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
