#include "store/dialect/functions.h"

#include "common/error.h"

#include "store/field_type.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <sqlite3.h>

#include <cmath>
#include <optional>
#include <vector>

namespace qv::store::dialect {

namespace {

QString textArg(sqlite3_value* v)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)) : QString();
}

void resultText(sqlite3_context* ctx, const QString& s)
{
    const QByteArray utf8 = s.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

bool isNull(sqlite3_value* v)
{
    return sqlite3_value_type(v) == SQLITE_NULL;
}

// Jet's Like: * any run, ? one character, # one digit, [list] and [!list];
// letters compare without regard to case. Every element but * stands for
// exactly one character.
struct LikeElement {
    enum Kind { Star, Any, Digit, Set, Literal } kind;
    QChar ch;    // Literal, lower case
    QString set; // Set, lower case, without the brackets and the '!'
    bool negate = false;

    bool matches(QChar c) const
    {
        switch (kind) {
        case Any:
            return true;
        case Digit:
            return c.isDigit();
        case Literal:
            return c == ch;
        case Set:
            return inSet(c) != negate;
        case Star:
            break;
        }
        return false;
    }

    bool inSet(QChar c) const
    {
        for (qsizetype k = 0; k < set.size(); ++k) {
            if (k + 2 < set.size() && set[k + 1] == QLatin1Char('-')) {
                if (c >= set[k] && c <= set[k + 2])
                    return true;
                k += 2;
            } else if (c == set[k]) {
                return true;
            }
        }
        return false;
    }
};

// The pattern's elements, runs of * as one; nothing when a '[' is never closed
// (such a pattern matches nothing).
std::optional<std::vector<LikeElement>> compileLike(const QString& p)
{
    std::vector<LikeElement> elements;
    for (qsizetype i = 0; i < p.size(); ++i) {
        const QChar c = p[i];
        if (c == QLatin1Char('*')) {
            if (elements.empty() || elements.back().kind != LikeElement::Star)
                elements.push_back({LikeElement::Star, {}, {}});
        } else if (c == QLatin1Char('?')) {
            elements.push_back({LikeElement::Any, {}, {}});
        } else if (c == QLatin1Char('#')) {
            elements.push_back({LikeElement::Digit, {}, {}});
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = p.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0)
                return std::nullopt;
            LikeElement set{LikeElement::Set, {}, p.mid(i + 1, close - i - 1).toLower()};
            set.negate = set.set.startsWith(QLatin1Char('!'));
            if (set.negate)
                set.set.remove(0, 1);
            elements.push_back(set);
            i = close;
        } else {
            elements.push_back({LikeElement::Literal, c.toLower(), {}});
        }
    }
    return elements;
}

// Greedy matching that, on a mismatch, only ever goes back to the last *: no
// recursion, and at worst time proportional to the product of the lengths.
bool likeMatch(const QString& pattern, const QString& text)
{
    const auto elements = compileLike(pattern);
    if (!elements)
        return false;
    const std::vector<LikeElement>& p = *elements;
    const QString s = text.toLower();
    const auto np = p.size();
    const auto ns = static_cast<size_t>(s.size());
    size_t pi = 0;
    size_t si = 0;
    size_t starAt = np; // none yet
    size_t resumeAt = 0;
    while (si < ns) {
        if (pi < np && p[pi].kind == LikeElement::Star) {
            starAt = pi++;
            resumeAt = si;
        } else if (pi < np && p[pi].matches(s[qsizetype(si)])) {
            ++pi;
            ++si;
        } else if (starAt != np) {
            pi = starAt + 1; // let the last * take one more character
            si = ++resumeAt;
        } else {
            return false;
        }
    }
    while (pi < np && p[pi].kind == LikeElement::Star)
        ++pi;
    return pi == np;
}

void likeFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]) || isNull(a[1])) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int(ctx, likeMatch(textArg(a[0]), textArg(a[1])) ? 1 : 0);
}

void iifFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    const bool cond = !isNull(a[0]) && sqlite3_value_double(a[0]) != 0.0;
    sqlite3_result_value(ctx, cond ? a[1] : a[2]);
}

void nzFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (!isNull(a[0]))
        sqlite3_result_value(ctx, a[0]);
    else if (argc > 1)
        sqlite3_result_value(ctx, a[1]);
    else
        sqlite3_result_int(ctx, 0);
}

template <typename F> void textFn(sqlite3_context* ctx, sqlite3_value* v, F f)
{
    if (isNull(v))
        sqlite3_result_null(ctx);
    else
        resultText(ctx, f(textArg(v)));
}

void leftFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    const auto n = static_cast<qsizetype>(std::max<sqlite3_int64>(0, sqlite3_value_int64(a[1])));
    textFn(ctx, a[0], [n](const QString& s) { return s.left(n); });
}

void rightFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    const auto n = static_cast<qsizetype>(std::max<sqlite3_int64>(0, sqlite3_value_int64(a[1])));
    textFn(ctx, a[0], [n](const QString& s) { return s.right(n); });
}

void midFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    const auto start = static_cast<qsizetype>(std::max<sqlite3_int64>(1, sqlite3_value_int64(a[1])));
    const qsizetype len =
        argc > 2 ? static_cast<qsizetype>(std::max<sqlite3_int64>(0, sqlite3_value_int64(a[2]))) : -1;
    textFn(ctx, a[0], [start, len](const QString& s) { return s.mid(start - 1, len); });
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
    textFn(ctx, a[0], [](const QString& s) { return s.toUpper(); });
}

void lcaseFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    textFn(ctx, a[0], [](const QString& s) { return s.toLower(); });
}

// Val reads the leading number of a text and ignores the rest.
double leadingNumber(const QString& text)
{
    QString digits;
    const QString s = text.trimmed();
    qsizetype i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
        digits += s[i++];
    bool dot = false;
    while (i < s.size() &&
           (s[i].isDigit() || s[i] == QLatin1Char(' ') || (!dot && s[i] == QLatin1Char('.')))) {
        if (s[i] == QLatin1Char('.'))
            dot = true;
        if (s[i] != QLatin1Char(' '))
            digits += s[i];
        ++i;
    }
    return digits.toDouble();
}

void valFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (sqlite3_value_type(a[0]) == SQLITE_INTEGER || sqlite3_value_type(a[0]) == SQLITE_FLOAT)
        sqlite3_result_value(ctx, a[0]);
    else
        sqlite3_result_double(ctx, isNull(a[0]) ? 0.0 : leadingNumber(textArg(a[0])));
}

double numberArg(sqlite3_value* v)
{
    if (sqlite3_value_type(v) == SQLITE_TEXT)
        return leadingNumber(textArg(v));
    return sqlite3_value_double(v);
}

void cstrFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (sqlite3_value_type(a[0]) == SQLITE_FLOAT) {
        resultText(ctx, QString::number(sqlite3_value_double(a[0]), 'g', 15));
        return;
    }
    textFn(ctx, a[0], [](const QString& s) { return s; });
}

// A conversion whose result does not fit its type fails as the engine's does.
void overflow(sqlite3_context* ctx)
{
    static const QByteArray message = "qv_error:" + QByteArray::number(err::Overflow) + ":Overflow";
    sqlite3_result_error(ctx, message.constData(), -1);
}

// Sets a whole-number result, or fails with Overflow outside [low, high].
void wholeResult(sqlite3_context* ctx, double value, double low, double high)
{
    if (!(value >= low && value <= high)) // NaN included
        overflow(ctx);
    else
        sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(value));
}

// The range of a 64-bit result: 2^63 itself is already out of it.
constexpr double int64Low = -9223372036854775808.0;
constexpr double int64High = 9223372036854774784.0; // the largest double below 2^63

// CLng and CInt round half to even, as the engine's conversions do.
template <int Bits> void roundToWholeFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    constexpr double high = double((qint64(1) << (Bits - 1)) - 1);
    wholeResult(ctx, std::nearbyint(numberArg(a[0])), -high - 1, high);
}

void cdblFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        sqlite3_result_null(ctx);
    else
        sqlite3_result_double(ctx, numberArg(a[0]));
}

// Int and Fix of a whole number give it back unchanged.
void intFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        sqlite3_result_null(ctx);
    else if (sqlite3_value_type(a[0]) == SQLITE_INTEGER)
        sqlite3_result_value(ctx, a[0]);
    else
        wholeResult(ctx, std::floor(numberArg(a[0])), int64Low, int64High);
}

void fixFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        sqlite3_result_null(ctx);
    else if (sqlite3_value_type(a[0]) == SQLITE_INTEGER)
        sqlite3_result_value(ctx, a[0]);
    else
        wholeResult(ctx, std::trunc(numberArg(a[0])), int64Low, int64High);
}

// The & operator: Null counts as empty text; only Nulls throughout give Null.
void concatFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    QString out;
    bool any = false;
    for (int i = 0; i < argc; ++i) {
        if (isNull(a[i]))
            continue;
        any = true;
        if (sqlite3_value_type(a[i]) == SQLITE_FLOAT)
            out += QString::number(sqlite3_value_double(a[i]), 'g', 15);
        else
            out += textArg(a[i]);
    }
    if (any)
        resultText(ctx, out);
    else
        sqlite3_result_null(ctx);
}

QDateTime dateArg(sqlite3_value* v)
{
    if (isNull(v))
        return {};
    return dateFromStorage(textArg(v)).toDateTime();
}

template <int Part> void datePartFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    const QDateTime dt = dateArg(a[0]);
    if (!dt.isValid()) {
        sqlite3_result_null(ctx);
        return;
    }
    const QDate d = dt.date();
    sqlite3_result_int(ctx, Part == 0 ? d.year() : Part == 1 ? d.month() : d.day());
}

// Date formats of the dialect (mm months, nn minutes) as Qt's.
QString qtDateFormat(const QString& format)
{
    QString f = format;
    if (f.compare(QLatin1String("Short Date"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("M/d/yyyy");
    if (f.compare(QLatin1String("Long Date"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("dddd, MMMM d, yyyy");
    if (f.compare(QLatin1String("General Date"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("M/d/yyyy h:mm:ss AP");
    f.replace(QLatin1String("nn"), QLatin1String("\x01"));
    f.replace(QLatin1String("mmmm"), QLatin1String("MMMM"));
    f.replace(QLatin1String("mmm"), QLatin1String("MMM"));
    f.replace(QLatin1String("mm"), QLatin1String("MM"));
    f.replace(QLatin1String("m"), QLatin1String("M"));
    f.replace(QLatin1String("\x01"), QLatin1String("mm"));
    f.replace(QLatin1String("hh"), QLatin1String("HH"));
    f.replace(QLatin1String("ampm"), QLatin1String("AP"), Qt::CaseInsensitive);
    return f;
}

QString formatNumber(double value, const QString& format)
{
    const QLocale c(QLocale::English, QLocale::UnitedStates);
    const QString f = format.trimmed();
    if (f.compare(QLatin1String("Currency"), Qt::CaseInsensitive) == 0)
        return (value < 0 ? QStringLiteral("-$") : QStringLiteral("$")) +
               c.toString(std::fabs(value), 'f', 2);
    if (f.compare(QLatin1String("Fixed"), Qt::CaseInsensitive) == 0)
        return QString::number(value, 'f', 2);
    if (f.compare(QLatin1String("Standard"), Qt::CaseInsensitive) == 0)
        return c.toString(value, 'f', 2);
    if (f.compare(QLatin1String("Percent"), Qt::CaseInsensitive) == 0)
        return QString::number(value * 100.0, 'f', 2) + QLatin1Char('%');
    if (f.isEmpty() || f.compare(QLatin1String("General Number"), Qt::CaseInsensitive) == 0)
        return QString::number(value, 'g', 15);
    // Picture formats: "0.00", "#,##0", "$#,##0.00", "0%".
    const bool percent = f.endsWith(QLatin1Char('%'));
    const qsizetype dot = f.indexOf(QLatin1Char('.'));
    int decimals = 0;
    if (dot >= 0)
        while (dot + 1 + decimals < f.size() &&
               (f[dot + 1 + decimals] == QLatin1Char('0') || f[dot + 1 + decimals] == QLatin1Char('#')))
            ++decimals;
    const double v = percent ? value * 100.0 : value;
    QString body =
        f.contains(QLatin1Char(',')) ? c.toString(v, 'f', decimals) : QString::number(v, 'f', decimals);
    QString prefix;
    for (QChar ch : f) {
        if (ch == QLatin1Char('0') || ch == QLatin1Char('#') || ch == QLatin1Char('.') ||
            ch == QLatin1Char(','))
            break;
        prefix += ch;
    }
    return prefix + body + (percent ? QStringLiteral("%") : QString());
}

void formatFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (isNull(a[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString format = argc > 1 ? textArg(a[1]) : QString();
    const int type = sqlite3_value_type(a[0]);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
        resultText(ctx, formatNumber(sqlite3_value_double(a[0]), format));
        return;
    }
    const QString text = textArg(a[0]);
    const QVariant date = dateFromStorage(text);
    if (date.typeId() == QMetaType::QDateTime) {
        resultText(ctx, format.isEmpty() ? text : date.toDateTime().toString(qtDateFormat(format)));
        return;
    }
    bool numeric = false;
    const double v = text.toDouble(&numeric);
    resultText(ctx, numeric ? formatNumber(v, format) : text);
}

void nowFn(sqlite3_context* ctx, int, sqlite3_value**)
{
    resultText(ctx, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

void dateFn(sqlite3_context* ctx, int, sqlite3_value**)
{
    resultText(ctx, QDate::currentDate().toString(Qt::ISODate));
}

struct Definition {
    const char* name;
    int args;
    void (*fn)(sqlite3_context*, int, sqlite3_value**);
    bool deterministic;
};

const Definition definitions[] = {
    {"like", 2, likeFn, true},
    {"like", 3, likeFn, true},
    {"iif", 3, iifFn, true},
    {"nz", 1, nzFn, true},
    {"nz", 2, nzFn, true},
    {"left", 2, leftFn, true},
    {"right", 2, rightFn, true},
    {"mid", 2, midFn, true},
    {"mid", 3, midFn, true},
    {"len", 1, lenFn, true},
    {"ucase", 1, ucaseFn, true},
    {"lcase", 1, lcaseFn, true},
    {"val", 1, valFn, true},
    {"cstr", 1, cstrFn, true},
    {"clng", 1, roundToWholeFn<32>, true},
    {"cint", 1, roundToWholeFn<16>, true},
    {"cdbl", 1, cdblFn, true},
    {"csng", 1, cdblFn, true},
    {"ccur", 1, cdblFn, true},
    {"int", 1, intFn, true},
    {"fix", 1, fixFn, true},
    {"year", 1, datePartFn<0>, true},
    {"month", 1, datePartFn<1>, true},
    {"day", 1, datePartFn<2>, true},
    {"format", 1, formatFn, true},
    {"format", 2, formatFn, true},
    {"qv_concat", -1, concatFn, true},
    {"now", 0, nowFn, false},
    {"date", 0, dateFn, false},
};

} // namespace

void registerFunctions(sqlite3* db)
{
    for (const Definition& d : definitions) {
        // With the schema untrusted, a view, index or CHECK in a file calls only
        // innocuous functions: the pure ones are harmless anywhere; the clock's
        // serve the program's own statements alone.
        const int flags =
            SQLITE_UTF8 | (d.deterministic ? SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS : SQLITE_DIRECTONLY);
        sqlite3_create_function(db, d.name, d.args, flags, nullptr, d.fn, nullptr, nullptr);
    }
}

} // namespace qv::store::dialect
