#pragma once

struct sqlite3;

namespace qv::store::dialect {

// Registers the dialect's functions on a connection: Like with * and ?
// wildcards, IIf, Nz, Left, Right, Mid, Len, UCase, LCase, Val, CStr, CLng,
// CInt, CDbl, Int, Fix, Year, Month, Day, Format, Now, Date.
void registerFunctions(sqlite3* db);

} // namespace qv::store::dialect
