// The dialect's text functions. Those with a $ (Left$, Trim$...) are the same
// functions behind qv_no_null, which refuses a Null as a text result must.
#include "store/dialect/conversions.h"
#include "store/dialect/runtime.h"

#include <cmath>

namespace qv::store::dialect {

namespace {

using namespace runtime;

// The characters 128 to 159 of the engine's character set (Windows-1252).
constexpr char16_t windows1252[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                      0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

QChar characterOf(qint64 code)
{
    if (code < 0 || code > 255)
        raise(5);
    if (code >= 128 && code < 160)
        return QChar(windows1252[code - 128]);
    return QChar(char16_t(code));
}

int codeOf(QChar c)
{
    for (int i = 0; i < 32; ++i)
        if (c.unicode() == windows1252[i])
            return 128 + i;
    return c.unicode() < 256 ? c.unicode() : '?';
}

// A count of characters: a whole number, never negative.
qsizetype countArg(sqlite3_value* v)
{
    const qint64 n = longArg(v);
    if (n < 0)
        raise(5);
    return qsizetype(n);
}

// The longest text Space and String make: refused before it is made.
constexpr qsizetype maxMadeText = qsizetype(1) << 24;

qsizetype madeLengthArg(sqlite3_value* v)
{
    const qsizetype n = countArg(v);
    if (n > maxMadeText)
        raise(5, "a text of more than 16,777,216 characters");
    return n;
}

bool textCompare(sqlite3_value* compare)
{
    if (isNull(compare))
        raise(94);
    const qint64 mode = longArg(compare);
    if (mode != 0 && mode != 1 && mode != 2)
        raise(5);
    return mode != 0;
}

template <typename F> void onText(sqlite3_context* ctx, sqlite3_value* v, F f)
{
    if (isNull(v))
        sqlite3_result_null(ctx);
    else
        resultText(ctx, f(textArg(v)));
}

void noNullFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        raise(94);
    sqlite3_result_value(ctx, a[0]);
}

void leftFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    const qsizetype n = countArg(a[1]);
    onText(ctx, a[0], [n](const QString& s) { return s.left(n); });
}

void rightFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    const qsizetype n = countArg(a[1]);
    onText(ctx, a[0], [n](const QString& s) { return s.right(n); });
}

void midFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    const qint64 start = longArg(a[1]);
    if (start < 1)
        raise(5);
    const qsizetype length = argc > 2 ? countArg(a[2]) : -1;
    onText(ctx, a[0], [&](const QString& s) { return s.mid(qsizetype(start) - 1, length); });
}

void lenFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        sqlite3_result_null(ctx);
    else
        sqlite3_result_int64(ctx, textArg(a[0]).size());
}

void ucaseFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    onText(ctx, a[0], [](const QString& s) { return s.toUpper(); });
}

void lcaseFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    onText(ctx, a[0], [](const QString& s) { return s.toLower(); });
}

// Trim, LTrim and RTrim take away spaces, and only spaces.
template <bool Left, bool Right> void trimFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    onText(ctx, a[0], [](const QString& s) {
        qsizetype from = 0;
        qsizetype to = s.size();
        while (Left && from < to && s[from] == QLatin1Char(' '))
            ++from;
        while (Right && to > from && s[to - 1] == QLatin1Char(' '))
            --to;
        return s.mid(from, to - from);
    });
}

// qv_instr(start, text, find, compare): the position of find from start, 0 when absent.
void instrFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        raise(94);
    const qint64 start = longArg(a[0]);
    if (start < 1)
        raise(5);
    const bool text = textCompare(a[3]);
    if (isNull(a[1]) || isNull(a[2])) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString s = textArg(a[1]);
    const QString find = textArg(a[2]);
    if (start > s.size()) {
        sqlite3_result_int64(ctx, 0);
        return;
    }
    const qsizetype at =
        s.indexOf(find, qsizetype(start) - 1, text ? Qt::CaseInsensitive : Qt::CaseSensitive);
    sqlite3_result_int64(ctx, at + 1);
}

// qv_instrrev(text, find, start, compare): the position of the last find that
// ends at or before start (-1: the end), 0 when absent or start is past the end.
void instrrevFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[2]))
        raise(94);
    const qint64 start = longArg(a[2]);
    if (start == 0 || start < -1)
        raise(5);
    const bool text = textCompare(a[3]);
    if (isNull(a[0]) || isNull(a[1])) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString s = textArg(a[0]);
    const QString find = textArg(a[1]);
    const qsizetype end = start == -1 ? s.size() : qsizetype(start);
    if (s.isEmpty() || end > s.size()) {
        sqlite3_result_int64(ctx, 0);
        return;
    }
    if (find.isEmpty()) {
        sqlite3_result_int64(ctx, end);
        return;
    }
    const qsizetype last = end - find.size(); // the last place a find may start, from 0
    const qsizetype at =
        last < 0 ? -1 : s.lastIndexOf(find, last, text ? Qt::CaseInsensitive : Qt::CaseSensitive);
    sqlite3_result_int64(ctx, at + 1);
}

void strreverseFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        raise(94);
    const QString s = textArg(a[0]);
    QString out;
    out.reserve(s.size());
    for (qsizetype i = s.size(); i > 0; --i) {
        // A character beyond the first plane stays whole.
        if (i > 1 && s[i - 1].isLowSurrogate() && s[i - 2].isHighSurrogate()) {
            out += s.mid(i - 2, 2);
            --i;
        } else {
            out += s[i - 1];
        }
    }
    resultText(ctx, out);
}

// qv_strconv(text, conversion[, locale]): upper (1), lower (2) or proper case
// (3: the first letter of every word capital, the rest small).
void strconvFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[1]))
        raise(94);
    const qint64 conversion = longArg(a[1]);
    if (conversion & ~qint64(3))
        raise(5, "StrConv converts only to upper case (1), lower case (2) and proper case (3); the wide, "
                 "narrow, Katakana, Hiragana and Unicode conversions are not offered");
    if (conversion == 0)
        raise(5, "StrConv needs a conversion: upper case (1), lower case (2) or proper case (3)");
    if (isNull(a[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    QString s = textArg(a[0]);
    if (conversion == 1) {
        s = s.toUpper();
    } else if (conversion == 2) {
        s = s.toLower();
    } else {
        // Words are separated by blanks, tabs, line breaks and the null character.
        bool wordStart = true;
        for (QChar& c : s) {
            c = wordStart ? c.toUpper() : c.toLower();
            wordStart = c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
                        c == QLatin1Char('\r') || c == QLatin1Char('\f') || c == QLatin1Char('\v') ||
                        c == QChar(0);
        }
    }
    resultText(ctx, s);
}

// qv_strcomp(a, b, compare): -1, 0 or 1.
void strcompFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    const bool text = textCompare(a[2]);
    if (isNull(a[0]) || isNull(a[1])) {
        sqlite3_result_null(ctx);
        return;
    }
    const int order =
        QString::compare(textArg(a[0]), textArg(a[1]), text ? Qt::CaseInsensitive : Qt::CaseSensitive);
    sqlite3_result_int(ctx, order < 0 ? -1 : order > 0 ? 1 : 0);
}

// qv_replace(text, find, with, start, count, compare): from start on, up to count (-1: all).
void replaceFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        raise(94);
    const qint64 start = longArg(a[3]);
    const qint64 count = longArg(a[4]);
    if (start < 1 || count < -1)
        raise(5);
    const Qt::CaseSensitivity cs = textCompare(a[5]) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const QString s = textArg(a[0]).mid(qsizetype(start) - 1);
    const QString find = textArg(a[1]);
    const QString with = textArg(a[2]);
    if (find.isEmpty() || count == 0) {
        resultText(ctx, s);
        return;
    }
    QString out;
    qsizetype from = 0;
    qint64 done = 0;
    for (qsizetype at; (count < 0 || done < count) && (at = s.indexOf(find, from, cs)) >= 0; ++done) {
        out += s.mid(from, at - from) + with;
        from = at + find.size();
    }
    resultText(ctx, out + s.mid(from));
}

void spaceFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        sqlite3_result_null(ctx);
    else
        resultText(ctx, QString(madeLengthArg(a[0]), QLatin1Char(' ')));
}

// String(n, c): n times the first character of c, or the character whose code c is.
void stringFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]) || isNull(a[1])) {
        sqlite3_result_null(ctx);
        return;
    }
    const qsizetype n = madeLengthArg(a[0]);
    QChar c;
    if (isNumber(a[1])) {
        c = characterOf(((longArg(a[1]) % 256) + 256) % 256);
    } else {
        const QString s = textArg(a[1]);
        if (s.isEmpty())
            raise(5);
        c = s[0];
    }
    resultText(ctx, QString(n, c));
}

void chrFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        sqlite3_result_null(ctx);
    else
        resultText(ctx, QString(characterOf(longArg(a[0]))));
}

void ascFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString s = textArg(a[0]);
    if (s.isEmpty())
        raise(5);
    sqlite3_result_int(ctx, codeOf(s[0]));
}

// Str: a number as text, with a leading blank for its sign when not negative.
void strFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const double n = numberArg(a[0]);
    const QString digits = isNumber(a[0]) ? textArg(a[0]) : numberToText(n);
    resultText(ctx, n < 0 ? digits : QLatin1Char(' ') + digits);
}

// Hex and Oct of a number rounded to a whole one; negative ones as 32 bits.
template <int Base> void radixFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const double n = std::nearbyint(numberArg(a[0]));
    if (!(n >= -2147483648.0 && n <= 4294967295.0))
        raise(6);
    const quint32 bits = n < 0 ? quint32(qint32(n)) : quint32(n);
    resultText(ctx, QString::number(bits, Base).toUpper());
}

void valFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNumber(a[0]))
        sqlite3_result_value(ctx, a[0]);
    else
        sqlite3_result_double(ctx, isNull(a[0]) ? 0.0 : leadingNumber(textArg(a[0])));
}

void cstrFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    onText(ctx, a[0], [](const QString& s) { return s; });
}

} // namespace

void registerTextFunctions(sqlite3* db)
{
    defineFunction(db, "qv_no_null", 1, guarded<noNullFn>);
    defineFunction(db, "qv_left", 2, guarded<leftFn>);
    defineFunction(db, "qv_right", 2, guarded<rightFn>);
    defineFunction(db, "qv_mid", 2, guarded<midFn>);
    defineFunction(db, "qv_mid", 3, guarded<midFn>);
    defineFunction(db, "qv_len", 1, guarded<lenFn>);
    defineFunction(db, "qv_ucase", 1, guarded<ucaseFn>);
    defineFunction(db, "qv_lcase", 1, guarded<lcaseFn>);
    defineFunction(db, "qv_trim", 1, guarded<trimFn<true, true>>);
    defineFunction(db, "qv_ltrim", 1, guarded<trimFn<true, false>>);
    defineFunction(db, "qv_rtrim", 1, guarded<trimFn<false, true>>);
    defineFunction(db, "qv_instr", 4, guarded<instrFn>);
    defineFunction(db, "qv_instrrev", 4, guarded<instrrevFn>);
    defineFunction(db, "qv_strreverse", 1, guarded<strreverseFn>);
    defineFunction(db, "qv_strconv", 2, guarded<strconvFn>);
    defineFunction(db, "qv_strconv", 3, guarded<strconvFn>);
    defineFunction(db, "qv_strcomp", 3, guarded<strcompFn>);
    defineFunction(db, "qv_replace", 6, guarded<replaceFn>);
    defineFunction(db, "qv_space", 1, guarded<spaceFn>);
    defineFunction(db, "qv_string", 2, guarded<stringFn>);
    defineFunction(db, "qv_chr", 1, guarded<chrFn>);
    defineFunction(db, "qv_asc", 1, guarded<ascFn>);
    defineFunction(db, "qv_str", 1, guarded<strFn>);
    defineFunction(db, "qv_hex", 1, guarded<radixFn<16>>);
    defineFunction(db, "qv_oct", 1, guarded<radixFn<8>>);
    defineFunction(db, "qv_val", 1, guarded<valFn>);
    defineFunction(db, "qv_cstr", 1, guarded<cstrFn>);
}

} // namespace qv::store::dialect
