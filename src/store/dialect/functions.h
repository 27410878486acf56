#pragma once

struct sqlite3;

namespace qv::store::dialect {

// Registers the dialect's functions on a connection, each under the name the
// translator writes for it (qv_left for Left, ...): Like with * ? # and [list],
// the operators that SQLite's own do not match, the text, number, date and
// conversion functions, Format, and the aggregates First, Last, StDev, Var and
// the exact sum of Currency.
void registerFunctions(sqlite3* db);

} // namespace qv::store::dialect
