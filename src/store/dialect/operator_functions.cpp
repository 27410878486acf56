// The dialect's operators where SQLite's own differ: + on texts, / always
// dividing doubles, \ and Mod on rounded operands, ^, the bitwise And, Or,
// Xor, Eqv, Imp and Not, &, and the conversions the translator puts between
// dates, texts and numbers.
#include "store/dialect/conversions.h"
#include "store/dialect/runtime.h"

#include <cmath>

namespace qv::store::dialect {

namespace {

using namespace runtime;

void resultSum(sqlite3_context* ctx, sqlite3_value* x, sqlite3_value* y, double sign)
{
    if (sqlite3_value_type(x) == SQLITE_INTEGER && sqlite3_value_type(y) == SQLITE_INTEGER) {
        sqlite3_int64 r = 0;
        const sqlite3_int64 b = sqlite3_value_int64(y);
        const bool overflow = sign > 0 ? __builtin_add_overflow(sqlite3_value_int64(x), b, &r)
                                       : __builtin_sub_overflow(sqlite3_value_int64(x), b, &r);
        if (!overflow) {
            sqlite3_result_int64(ctx, r);
            return;
        }
    }
    sqlite3_result_double(ctx, numberArg(x) + sign * numberArg(y));
}

// +: numbers add, two texts join, a text with a number adds when it is a number.
void addFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (nullResult(ctx, argc, a))
        return;
    if (sqlite3_value_type(a[0]) == SQLITE_TEXT && sqlite3_value_type(a[1]) == SQLITE_TEXT)
        resultText(ctx, textArg(a[0]) + textArg(a[1]));
    else
        resultSum(ctx, a[0], a[1], 1);
}

void subtractFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (!nullResult(ctx, argc, a))
        resultSum(ctx, a[0], a[1], -1);
}

void multiplyFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (nullResult(ctx, argc, a))
        return;
    if (sqlite3_value_type(a[0]) == SQLITE_INTEGER && sqlite3_value_type(a[1]) == SQLITE_INTEGER) {
        sqlite3_int64 r = 0;
        if (!__builtin_mul_overflow(sqlite3_value_int64(a[0]), sqlite3_value_int64(a[1]), &r)) {
            sqlite3_result_int64(ctx, r);
            return;
        }
    }
    sqlite3_result_double(ctx, numberArg(a[0]) * numberArg(a[1]));
}

// / divides as doubles, whatever its operands.
void divideFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (nullResult(ctx, argc, a))
        return;
    const double divisor = numberArg(a[1]);
    const double dividend = numberArg(a[0]);
    if (divisor == 0)
        raise(11);
    sqlite3_result_double(ctx, dividend / divisor);
}

// \ and Mod round their operands to whole numbers first.
template <bool Remainder> void wholeDivisionFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (nullResult(ctx, argc, a))
        return;
    const qint64 dividend = longArg(a[0]);
    const qint64 divisor = longArg(a[1]);
    if (divisor == 0)
        raise(11);
    sqlite3_result_int64(ctx, Remainder ? dividend % divisor : dividend / divisor);
}

void powerFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (nullResult(ctx, argc, a))
        return;
    const double base = numberArg(a[0]);
    const double exponent = numberArg(a[1]);
    // A negative number has a power only for a whole exponent.
    if ((base < 0 && exponent != std::trunc(exponent)) || (base == 0 && exponent < 0))
        raise(5);
    const double result = std::pow(base, exponent);
    if (!std::isfinite(result))
        raise(6);
    sqlite3_result_double(ctx, result);
}

void negateFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (nullResult(ctx, argc, a))
        return;
    if (sqlite3_value_type(a[0]) == SQLITE_INTEGER && sqlite3_value_int64(a[0]) != INT64_MIN)
        sqlite3_result_int64(ctx, -sqlite3_value_int64(a[0]));
    else
        sqlite3_result_double(ctx, -numberArg(a[0]));
}

// And, Or, Xor, Eqv, Imp and Not work bit by bit on whole numbers (True is -1).
// A Null operand gives Null, except where the other operand decides alone.
enum class Bits { And, Or, Xor, Eqv, Imp };

template <Bits B> void bitsFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    const bool nullA = isNull(a[0]);
    const bool nullB = isNull(a[1]);
    const qint64 x = nullA ? 0 : longArg(a[0]);
    const qint64 y = nullB ? 0 : longArg(a[1]);
    if (nullA || nullB) {
        const qint64 other = nullA ? y : x;
        const bool otherKnown = !(nullA && nullB);
        if (B == Bits::And && otherKnown && other == 0)
            sqlite3_result_int64(ctx, 0);
        else if (B == Bits::Or && otherKnown && other == -1)
            sqlite3_result_int64(ctx, -1);
        else if (B == Bits::Imp && ((!nullA && x == 0) || (!nullB && y == -1)))
            sqlite3_result_int64(ctx, -1);
        else
            sqlite3_result_null(ctx);
        return;
    }
    qint64 r = 0;
    switch (B) {
    case Bits::And:
        r = x & y;
        break;
    case Bits::Or:
        r = x | y;
        break;
    case Bits::Xor:
        r = x ^ y;
        break;
    case Bits::Eqv:
        r = ~(x ^ y);
        break;
    case Bits::Imp:
        r = ~x | y;
        break;
    }
    sqlite3_result_int64(ctx, r);
}

void notFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (!nullResult(ctx, argc, a))
        sqlite3_result_int64(ctx, ~longArg(a[0]));
}

// &: Null counts as empty text; only Nulls throughout give Null.
void concatFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    QString out;
    bool any = false;
    for (int i = 0; i < argc; ++i) {
        if (isNull(a[i]))
            continue;
        any = true;
        out += textArg(a[i]);
    }
    if (any)
        resultText(ctx, out);
    else
        sqlite3_result_null(ctx);
}

// Currency: exact to four decimals.
constexpr double currencyLimit = 922337203685477.5807;

void currencyFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (nullResult(ctx, argc, a))
        return;
    const double value = roundHalfEven(numberArg(a[0]), 4);
    if (!(std::fabs(value) <= currencyLimit))
        raise(6);
    runtime::resultNumber(ctx, value);
}

// A value compared with a number or a date in a criterion: a text that is
// neither is the engine's error 3464.
void criterionNumberFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (nullResult(ctx, argc, a))
        return;
    if (isNumber(a[0])) {
        sqlite3_result_value(ctx, a[0]);
        return;
    }
    const auto n = textToNumber(textArg(a[0]));
    if (!n)
        raise(3464);
    runtime::resultNumber(ctx, *n);
}

void criterionDateFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (nullResult(ctx, argc, a))
        return;
    const auto d = dateOf(a[0]);
    if (!d || !dateInRange(*d))
        raise(3464);
    resultDate(ctx, *d);
}

// A date where text is wanted: as General Date ("1/7/2026"); anything else as it is.
void dateTextFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (nullResult(ctx, argc, a))
        return;
    const auto d = storedToDate(textArg(a[0]));
    if (d)
        resultText(ctx, dateToText(*d));
    else
        sqlite3_result_value(ctx, a[0]);
}

// A date where a number is wanted: its serial.
void dateNumberFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (!nullResult(ctx, argc, a))
        sqlite3_result_double(ctx, dateArg(a[0]));
}

void dateAddDaysFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (!nullResult(ctx, argc, a))
        resultDate(ctx, dateArg(a[0]) + numberArg(a[1]));
}

void dateSubtractDaysFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (!nullResult(ctx, argc, a))
        resultDate(ctx, dateArg(a[0]) - numberArg(a[1]));
}

void dateDifferenceFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (!nullResult(ctx, argc, a))
        sqlite3_result_double(ctx, dateArg(a[0]) - dateArg(a[1]));
}

} // namespace

void registerOperators(sqlite3* db)
{
    defineFunction(db, "qv_add", 2, guarded<addFn>);
    defineFunction(db, "qv_sub", 2, guarded<subtractFn>);
    defineFunction(db, "qv_mul", 2, guarded<multiplyFn>);
    defineFunction(db, "qv_div", 2, guarded<divideFn>);
    defineFunction(db, "qv_idiv", 2, guarded<wholeDivisionFn<false>>);
    defineFunction(db, "qv_mod", 2, guarded<wholeDivisionFn<true>>);
    defineFunction(db, "qv_pow", 2, guarded<powerFn>);
    defineFunction(db, "qv_neg", 1, guarded<negateFn>);
    defineFunction(db, "qv_and", 2, guarded<bitsFn<Bits::And>>);
    defineFunction(db, "qv_or", 2, guarded<bitsFn<Bits::Or>>);
    defineFunction(db, "qv_xor", 2, guarded<bitsFn<Bits::Xor>>);
    defineFunction(db, "qv_eqv", 2, guarded<bitsFn<Bits::Eqv>>);
    defineFunction(db, "qv_imp", 2, guarded<bitsFn<Bits::Imp>>);
    defineFunction(db, "qv_not", 1, guarded<notFn>);
    defineFunction(db, "qv_concat", -1, guarded<concatFn>);
    defineFunction(db, "qv_cur", 1, guarded<currencyFn>);
    defineFunction(db, "qv_crit_num", 1, guarded<criterionNumberFn>);
    defineFunction(db, "qv_crit_date", 1, guarded<criterionDateFn>);
    defineFunction(db, "qv_date_text", 1, guarded<dateTextFn>);
    defineFunction(db, "qv_date_num", 1, guarded<dateNumberFn>);
    defineFunction(db, "qv_date_add", 2, guarded<dateAddDaysFn>);
    defineFunction(db, "qv_date_sub", 2, guarded<dateSubtractDaysFn>);
    defineFunction(db, "qv_date_diff", 2, guarded<dateDifferenceFn>);
}

} // namespace qv::store::dialect
