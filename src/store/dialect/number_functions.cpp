// The dialect's number functions and conversions.
#include "store/dialect/conversions.h"
#include "store/dialect/runtime.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace qv::store::dialect {

namespace {

using namespace runtime;

// A whole-number result, or error 6 (Overflow) outside [low, high].
void wholeResult(sqlite3_context* ctx, double value, double low, double high)
{
    if (!(value >= low && value <= high)) // NaN included
        raise(6);
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(value));
}

// The range of a 64-bit result: 2^63 itself is already out of it.
constexpr double int64Low = -9223372036854775808.0;
constexpr double int64High = 9223372036854774784.0; // the largest double below 2^63

// CLng, CInt and CByte round half to even, as the engine's conversions do.
template <int Low, int High> void roundToWholeFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (!nullResult(ctx, 1, a))
        wholeResult(ctx, std::nearbyint(numberArg(a[0])), Low, High);
}

void clngFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (!nullResult(ctx, 1, a))
        wholeResult(ctx, std::nearbyint(numberArg(a[0])), -2147483648.0, 2147483647.0);
}

void cdblFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (!nullResult(ctx, 1, a))
        sqlite3_result_double(ctx, numberArg(a[0]));
}

// CBool: a number is True (-1) unless 0; a text may also say True or False.
void cboolFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (nullResult(ctx, 1, a))
        return;
    if (!isNumber(a[0])) {
        const QString s = textArg(a[0]).trimmed();
        if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
            sqlite3_result_int(ctx, -1);
            return;
        }
        if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
            sqlite3_result_int(ctx, 0);
            return;
        }
    }
    sqlite3_result_int(ctx, numberArg(a[0]) != 0 ? -1 : 0);
}

// Int rounds down, Fix toward zero; a whole number comes back unchanged.
template <bool Down> void wholePartFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (nullResult(ctx, 1, a))
        return;
    if (sqlite3_value_type(a[0]) == SQLITE_INTEGER) {
        sqlite3_result_value(ctx, a[0]);
        return;
    }
    const double n = numberArg(a[0]);
    wholeResult(ctx, Down ? std::floor(n) : std::trunc(n), int64Low, int64High);
}

// Round: half to even, at 0 to 22 decimals.
void roundFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (nullResult(ctx, 1, a))
        return;
    const qint64 decimals = argc > 1 ? longArg(a[1]) : 0;
    if (decimals < 0)
        raise(5);
    if (sqlite3_value_type(a[0]) == SQLITE_INTEGER) {
        sqlite3_result_value(ctx, a[0]);
        return;
    }
    const double rounded = roundHalfEven(numberArg(a[0]), int(std::min<qint64>(decimals, 22)));
    if (decimals == 0)
        resultNumber(ctx, rounded);
    else
        sqlite3_result_double(ctx, rounded);
}

void absFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (nullResult(ctx, 1, a))
        return;
    if (sqlite3_value_type(a[0]) == SQLITE_INTEGER && sqlite3_value_int64(a[0]) != INT64_MIN)
        sqlite3_result_int64(ctx, std::llabs(sqlite3_value_int64(a[0])));
    else
        sqlite3_result_double(ctx, std::fabs(numberArg(a[0])));
}

void sgnFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (nullResult(ctx, 1, a))
        return;
    const double n = numberArg(a[0]);
    sqlite3_result_int(ctx, n > 0 ? 1 : n < 0 ? -1 : 0);
}

enum class Math { Sqr, Log, Exp, Sin, Cos, Tan, Atn };

template <Math M> void mathFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (nullResult(ctx, 1, a))
        return;
    const double n = numberArg(a[0]);
    double r = 0;
    switch (M) {
    case Math::Sqr:
        if (n < 0)
            raise(5);
        r = std::sqrt(n);
        break;
    case Math::Log: // the natural logarithm
        if (n <= 0)
            raise(5);
        r = std::log(n);
        break;
    case Math::Exp:
        r = std::exp(n);
        break;
    case Math::Sin:
        r = std::sin(n);
        break;
    case Math::Cos:
        r = std::cos(n);
        break;
    case Math::Tan:
        r = std::tan(n);
        break;
    case Math::Atn:
        r = std::atan(n);
        break;
    }
    if (!std::isfinite(r))
        raise(6);
    sqlite3_result_double(ctx, r);
}

void isNumericFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    const bool numeric = isNumber(a[0]) || (!isNull(a[0]) && textToNumber(textArg(a[0])).has_value());
    sqlite3_result_int(ctx, numeric ? -1 : 0);
}

void isNullFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    sqlite3_result_int(ctx, isNull(a[0]) ? -1 : 0);
}

// Choose and the like: an index rounded to a whole number.
void indexFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (!nullResult(ctx, 1, a))
        sqlite3_result_int64(ctx, longArg(a[0]));
}

// TOP n PERCENT: the rows that make up n percent of all, a part of a row counting as one.
// Partition(number, start, stop, interval): the range of interval numbers from
// start that holds number, "lower:upper", each side padded with blanks to the
// width of stop + 1 so that the ranges sort as texts; ": start-1" below start,
// "stop+1: " above stop.
void partitionFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (nullResult(ctx, argc, a))
        return;
    const qint64 number = longArg(a[0]);
    const qint64 start = longArg(a[1]);
    const qint64 stop = longArg(a[2]);
    const qint64 interval = longArg(a[3]);
    if (start < 0 || stop <= start || interval < 1)
        raise(5);
    const int width = int(QString::number(stop + 1).size());
    auto side = [width](std::optional<qint64> n) {
        return n ? QStringLiteral("%1").arg(*n, width) : QString(width, QLatin1Char(' '));
    };
    QString range;
    if (number < start) {
        range = side(std::nullopt) + QLatin1Char(':') + side(start - 1);
    } else if (number > stop) {
        range = side(stop + 1) + QLatin1Char(':') + side(std::nullopt);
    } else {
        const qint64 lower = start + (number - start) / interval * interval;
        range = side(lower) + QLatin1Char(':') + side(std::min(lower + interval - 1, stop));
    }
    resultText(ctx, range);
}

void percentRowsFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    // More than 100 percent is every row.
    const double percent = std::clamp(sqlite3_value_double(a[1]), 0.0, 100.0);
    const double rows = sqlite3_value_double(a[0]) * percent / 100.0;
    sqlite3_result_int64(ctx, sqlite3_int64(std::ceil(rows - 1e-9)));
}

} // namespace

void registerNumberFunctions(sqlite3* db)
{
    defineFunction(db, "qv_clng", 1, guarded<clngFn>);
    defineFunction(db, "qv_cint", 1, guarded<roundToWholeFn<-32768, 32767>>);
    defineFunction(db, "qv_cbyte", 1, guarded<roundToWholeFn<0, 255>>);
    defineFunction(db, "qv_cdbl", 1, guarded<cdblFn>);
    defineFunction(db, "qv_cbool", 1, guarded<cboolFn>);
    defineFunction(db, "qv_int", 1, guarded<wholePartFn<true>>);
    defineFunction(db, "qv_fix", 1, guarded<wholePartFn<false>>);
    defineFunction(db, "qv_round", 1, guarded<roundFn>);
    defineFunction(db, "qv_round", 2, guarded<roundFn>);
    defineFunction(db, "qv_abs", 1, guarded<absFn>);
    defineFunction(db, "qv_sgn", 1, guarded<sgnFn>);
    defineFunction(db, "qv_sqr", 1, guarded<mathFn<Math::Sqr>>);
    defineFunction(db, "qv_log", 1, guarded<mathFn<Math::Log>>);
    defineFunction(db, "qv_exp", 1, guarded<mathFn<Math::Exp>>);
    defineFunction(db, "qv_sin", 1, guarded<mathFn<Math::Sin>>);
    defineFunction(db, "qv_cos", 1, guarded<mathFn<Math::Cos>>);
    defineFunction(db, "qv_tan", 1, guarded<mathFn<Math::Tan>>);
    defineFunction(db, "qv_atn", 1, guarded<mathFn<Math::Atn>>);
    defineFunction(db, "qv_isnumeric", 1, guarded<isNumericFn>);
    defineFunction(db, "qv_isnull", 1, guarded<isNullFn>);
    defineFunction(db, "qv_index", 1, guarded<indexFn>);
    defineFunction(db, "qv_percent_rows", 2, guarded<percentRowsFn>);
    defineFunction(db, "qv_partition", 4, guarded<partitionFn>);
}

} // namespace qv::store::dialect
