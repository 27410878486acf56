#pragma once

#include "store/database.h"
#include "store/saved_query.h"

#include <QString>

#include <functional>

namespace qv::query {

// A saved query and its statement are the store's: the rebuild after an
// import builds the same table the same way.
using store::SqlQuery;
using store::sqlQueryStatement;

// What the window running a query does for it: whether it shows the table
// about to be replaced, and switching it to its first table so that it lets go.
struct ShownTable {
    std::function<bool(const QString& into)> shows;
    std::function<void()> switchAway;
};

// How often a query runs before a table in use is reported.
inline constexpr int maxQueryTries = 3;

// Runs a query: builds its table into a new one and puts that in the place of
// a table of the same name, listing it in sysTables once, all in one
// transaction (store::buildQueryTable): a failure leaves the old table and its
// listing as they were. A window that shows the table lets go of it first
// (and again on 3211, at most maxQueryTries runs in all). An Into that is not
// one name (3125) or names a table of the round results files, the program's
// or the engine's (3033) is refused before anything runs. Returns the listed
// name; engine errors pass to the caller.
QString runSqlQuery(store::Database& database, const SqlQuery& query, const ShownTable& window = {});

// The three lines that report a built table, joined by carriage returns.
QString finishedBuildingText(const QString& listedName);

} // namespace qv::query
