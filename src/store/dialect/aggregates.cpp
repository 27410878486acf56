// The dialect's aggregates that SQLite lacks: First, Last, StDev, StDevP, Var,
// VarP, and Sum and Avg of Currency, exact to four decimals.
#include "store/dialect/conversions.h"
#include "store/dialect/runtime.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

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

// Variance in two passes over the values kept, Nulls left out: the mean
// first, then the squares about it, each summed with its rounding errors
// carried (Neumaier), so that 15 significant digits come out right.
struct Spread {
    std::vector<double>* values;
};

struct CarriedSum {
    long double sum = 0;
    long double carried = 0;
    void add(long double x)
    {
        const long double t = sum + x;
        carried += std::fabs(sum) >= std::fabs(x) ? (sum - t) + x : (x - t) + sum;
        sum = t;
    }
    long double total() const { return sum + carried; }
};

void spreadStep(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return;
    auto* s = static_cast<Spread*>(sqlite3_aggregate_context(ctx, sizeof(Spread)));
    if (!s)
        return;
    const double x = numberArg(a[0]);
    if (!s->values)
        s->values = new std::vector<double>;
    s->values->push_back(x);
}

// StDev, Var and VarP of fewer than two values are Null, StDevP of none: as
// their pages in the engine's documentation say.
template <bool Sample, bool Root> void spreadFinal(sqlite3_context* ctx)
{
    auto* s = static_cast<Spread*>(sqlite3_aggregate_context(ctx, 0));
    const std::unique_ptr<std::vector<double>> values(s ? s->values : nullptr);
    const size_t least = Sample || !Root ? 2 : 1;
    if (!values || values->size() < least) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto n = static_cast<long double>(values->size());
    CarriedSum sum;
    for (double x : *values)
        sum.add(x);
    const long double mean = sum.total() / n;
    CarriedSum squares;
    CarriedSum deviations; // what the mean's own rounding leaves, taken off below
    for (double x : *values) {
        const long double d = x - mean;
        squares.add(d * d);
        deviations.add(d);
    }
    const long double centred = squares.total() - deviations.total() * deviations.total() / n;
    const double variance = double(std::max(centred, 0.0L) / (Sample ? n - 1 : n));
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
