#pragma once

#include <QString>

#include <sqlite3.h>

#include <optional>

// What the dialect's functions share inside SQLite: reading arguments as the
// engine converts them, and failing with the engine's run-time errors.
namespace qv::store::dialect::runtime {

// A run-time error of the engine (5, 6, 11, 13, 94, 3464), thrown inside a
// function and turned into SQLite's error by guarded().
struct DialectError {
    int number;
    const char* reason = nullptr; // said after the error's text, when given
};
[[noreturn]] inline void raise(int number, const char* reason = nullptr)
{
    throw DialectError{number, reason};
}

void resultError(sqlite3_context* ctx, int number, const char* reason = nullptr);

using Function = void (*)(sqlite3_context*, int, sqlite3_value**);
template <Function F> void guarded(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    try {
        F(ctx, argc, argv);
    } catch (const DialectError& e) {
        resultError(ctx, e.number, e.reason);
    }
}

inline bool isNull(sqlite3_value* v)
{
    return sqlite3_value_type(v) == SQLITE_NULL;
}
inline bool isNumber(sqlite3_value* v)
{
    const int t = sqlite3_value_type(v);
    return t == SQLITE_INTEGER || t == SQLITE_FLOAT;
}

// Sets a Null result when any argument is Null, as most of the dialect's
// functions give; true when it did.
inline bool nullResult(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    for (int i = 0; i < argc; ++i) {
        if (isNull(a[i])) {
            sqlite3_result_null(ctx);
            return true;
        }
    }
    return false;
}

// A value as text: numbers as the engine writes them ("3", not "3.0").
QString textArg(sqlite3_value* v);
// A value as a number: a text must convert whole, else error 13.
double numberArg(sqlite3_value* v);
// A value as a whole number, rounded half to even; error 6 outside 32 bits.
qint64 longArg(sqlite3_value* v);
// A value as a date's serial: numbers as they are, texts read as dates
// (error 13 when they are none).
double dateArg(sqlite3_value* v);
// The same, or nothing when the value is no date.
std::optional<double> dateOf(sqlite3_value* v);

void resultText(sqlite3_context* ctx, const QString& text);
// A date as it is stored; error 5 outside the engine's years 100 to 9999.
void resultDate(sqlite3_context* ctx, double serial);
// A whole number as an integer, any other as a double.
void resultNumber(sqlite3_context* ctx, double value);

} // namespace qv::store::dialect::runtime

namespace qv::store::dialect {

// Registers each group of the dialect's functions on a connection.
void registerOperators(sqlite3* db);
void registerTextFunctions(sqlite3* db);
void registerNumberFunctions(sqlite3* db);
void registerDateFunctions(sqlite3* db);
void registerAggregates(sqlite3* db);
void registerFormat(sqlite3* db);

// One scalar function of the dialect under its SQLite name.
void defineFunction(sqlite3* db, const char* name, int args, runtime::Function fn, bool deterministic = true);

} // namespace qv::store::dialect
