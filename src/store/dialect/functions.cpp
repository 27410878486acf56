#include "store/dialect/functions.h"

#include "store/dialect/conversions.h"
#include "store/dialect/runtime.h"

#include <QByteArray>

#include <cmath>
#include <optional>
#include <vector>

namespace qv::store::dialect {

namespace runtime {

void resultError(sqlite3_context* ctx, int number, const char* reason)
{
    QByteArray message = "qv_error:" + QByteArray::number(number) + ':' + errorText(number).toUtf8();
    if (reason)
        message += QByteArray(": ") + reason;
    sqlite3_result_error(ctx, message.constData(), int(message.size()));
}

// A number SQLite let overflow to infinity is the engine's Overflow where it is used.
static double finiteArg(sqlite3_value* v)
{
    const double d = sqlite3_value_double(v);
    if (!std::isfinite(d))
        raise(6);
    return d;
}

QString textArg(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return QString::number(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return numberToText(finiteArg(v));
    case SQLITE_NULL:
        return {};
    default: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
        return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)) : QString();
    }
    }
}

double numberArg(sqlite3_value* v)
{
    if (isNumber(v))
        return finiteArg(v);
    if (const auto n = textToNumber(textArg(v)))
        return *n;
    raise(13);
}

qint64 longArg(sqlite3_value* v)
{
    if (sqlite3_value_type(v) == SQLITE_INTEGER) {
        const qint64 n = sqlite3_value_int64(v);
        if (n < -2147483648LL || n > 2147483647LL)
            raise(6);
        return n;
    }
    const double rounded = std::nearbyint(numberArg(v));
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        raise(6);
    return qint64(rounded);
}

std::optional<double> dateOf(sqlite3_value* v)
{
    const auto d = isNumber(v) ? std::optional<double>(sqlite3_value_double(v)) : textToDate(textArg(v));
    if (d && !dateInRange(*d))
        return std::nullopt;
    return d;
}

double dateArg(sqlite3_value* v)
{
    if (const auto d = dateOf(v))
        return *d;
    // A number beyond the engine's years overflows; a text that is no date mismatches.
    raise(isNumber(v) ? 6 : 13);
}

void resultText(sqlite3_context* ctx, const QString& s)
{
    const QByteArray utf8 = s.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void resultDate(sqlite3_context* ctx, double serial)
{
    if (!dateInRange(serial))
        raise(5);
    resultText(ctx, dateToStored(serial));
}

void resultNumber(sqlite3_context* ctx, double value)
{
    if (value == std::trunc(value) && std::fabs(value) < 9.0e15)
        sqlite3_result_int64(ctx, sqlite3_int64(value));
    else
        sqlite3_result_double(ctx, value);
}

} // namespace runtime

namespace {

using namespace runtime;

// Like: * any run, ? one character, # one digit, [list] and [!list], letters
// without regard to case; [] stands for nothing. Every element but * stands
// for exactly one character.
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
            i = close;
            if (set.set.isEmpty()) // [] is a zero-length string
                continue;
            set.negate = set.set.startsWith(QLatin1Char('!'));
            if (set.negate)
                set.set.remove(0, 1);
            elements.push_back(set);
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

// SQLite calls like(pattern, text) for "text LIKE pattern".
void likeFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]) || isNull(a[1])) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int(ctx, likeMatch(textArg(a[0]), textArg(a[1])) ? 1 : 0);
}

} // namespace

void defineFunction(sqlite3* db, const char* name, int args, runtime::Function fn, bool deterministic)
{
    // With the schema untrusted, a view, index or CHECK in a file calls only
    // innocuous functions: the pure ones are harmless anywhere; the clock's
    // serve the program's own statements alone.
    const int flags =
        SQLITE_UTF8 | (deterministic ? SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS : SQLITE_DIRECTONLY);
    sqlite3_create_function(db, name, args, flags, nullptr, fn, nullptr, nullptr);
}

void registerFunctions(sqlite3* db)
{
    defineFunction(db, "like", 2, guarded<likeFn>);
    defineFunction(db, "like", 3, guarded<likeFn>);
    registerOperators(db);
    registerTextFunctions(db);
    registerNumberFunctions(db);
    registerDateFunctions(db);
    registerAggregates(db);
    registerFormat(db);
}

} // namespace qv::store::dialect
