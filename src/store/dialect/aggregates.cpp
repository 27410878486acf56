// The dialect's aggregates that SQLite lacks: First, Last, StDev, StDevP, Var,
// VarP, and Sum and Avg of Currency, exact to four decimals.
#include "store/dialect/conversions.h"
#include "store/dialect/runtime.h"

#include <cmath>

namespace qv::store::dialect {

namespace {

using namespace runtime;

// First and Last: the value of the first or last row of the group, Null included.
struct Kept {
    sqlite3_value* value;
    bool seen;
};

template <bool Last> void keepStep(sqlite3_context* ctx, int, sqlite3_value** a)
{
    auto* kept = static_cast<Kept*>(sqlite3_aggregate_context(ctx, sizeof(Kept)));
    if (!kept)
        return;
    if (kept->seen && !Last)
        return;
    sqlite3_value_free(kept->value);
    kept->value = sqlite3_value_dup(a[0]);
    kept->seen = true;
}

void keepFinal(sqlite3_context* ctx)
{
    auto* kept = static_cast<Kept*>(sqlite3_aggregate_context(ctx, 0));
    if (!kept || !kept->value) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_value(ctx, kept->value);
    sqlite3_value_free(kept->value);
    kept->value = nullptr;
}

// Variance by Welford's running mean, Nulls left out.
struct Spread {
    qint64 count;
    double mean;
    double squares;
};

void spreadStep(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return;
    auto* s = static_cast<Spread*>(sqlite3_aggregate_context(ctx, sizeof(Spread)));
    if (!s)
        return;
    const double x = numberArg(a[0]);
    ++s->count;
    const double delta = x - s->mean;
    s->mean += delta / double(s->count);
    s->squares += delta * (x - s->mean);
}

// StDev and Var of a sample (Null below two values); StDevP and VarP of a population.
template <bool Sample, bool Root> void spreadFinal(sqlite3_context* ctx)
{
    auto* s = static_cast<Spread*>(sqlite3_aggregate_context(ctx, 0));
    const qint64 least = Sample ? 2 : 1;
    if (!s || s->count < least) {
        sqlite3_result_null(ctx);
        return;
    }
    const double variance = s->squares / double(Sample ? s->count - 1 : s->count);
    sqlite3_result_double(ctx, Root ? std::sqrt(variance) : variance);
}

// Currency summed in ten-thousandths: ten values of 0.1 make exactly 1. A sum
// beyond Currency's range (a 64-bit count of ten-thousandths) is error 6.
struct CurrencySum {
    qint64 units;
    qint64 count;
};

void currencyStep(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return;
    auto* s = static_cast<CurrencySum*>(sqlite3_aggregate_context(ctx, sizeof(CurrencySum)));
    if (!s)
        return;
    const double units = std::nearbyint(numberArg(a[0]) * 10000.0);
    if (!(std::fabs(units) < 9.2e18) || __builtin_add_overflow(s->units, qint64(units), &s->units))
        raise(6);
    ++s->count;
}

template <bool Average> void currencyFinal(sqlite3_context* ctx)
{
    auto* s = static_cast<CurrencySum*>(sqlite3_aggregate_context(ctx, 0));
    if (!s || s->count == 0) {
        sqlite3_result_null(ctx);
        return;
    }
    const double total = double(s->units) / 10000.0;
    resultNumber(ctx, Average ? roundHalfEven(total / double(s->count), 4) : total);
}

void defineAggregate(sqlite3* db, const char* name, void (*step)(sqlite3_context*, int, sqlite3_value**),
                     void (*final)(sqlite3_context*))
{
    sqlite3_create_function(db, name, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                            nullptr, step, final);
}

} // namespace

void registerAggregates(sqlite3* db)
{
    defineAggregate(db, "qv_first", keepStep<false>, keepFinal);
    defineAggregate(db, "qv_last", keepStep<true>, keepFinal);
    defineAggregate(db, "qv_stdev", guarded<spreadStep>, spreadFinal<true, true>);
    defineAggregate(db, "qv_stdevp", guarded<spreadStep>, spreadFinal<false, true>);
    defineAggregate(db, "qv_var", guarded<spreadStep>, spreadFinal<true, false>);
    defineAggregate(db, "qv_varp", guarded<spreadStep>, spreadFinal<false, false>);
    defineAggregate(db, "qv_sum_cur", guarded<currencyStep>, currencyFinal<false>);
    defineAggregate(db, "qv_avg_cur", guarded<currencyStep>, currencyFinal<true>);
}

} // namespace qv::store::dialect
