#pragma once

#include "store/database.h"

#include <QString>

#include <functional>

namespace qv::query {

// One saved query of the SQL query wizard: the clause texts exactly as typed,
// without their keywords (the fields Txt5, Txt0 .. Txt4 of sysQueryBuilder).
struct SqlQuery {
    QString name;   // Txt5, "Query Name"
    QString select; // Txt0
    QString into;   // Txt1, bare or [bracketed]
    QString from;   // Txt2
    QString where;  // Txt3, may be empty
    QString order;  // Txt4, may be empty

    // The clause of a field by the digit of its name (0 to 5).
    QString clause(int digit) const;
    void setClause(int digit, const QString& text);
};

// SELECT s INTO i FROM f[ WHERE w][ ORDER BY o], closed by ";" unless it
// already ends with one.
QString sqlQueryStatement(const SqlQuery& query);

// Drops the Into table: the text as typed when bracketed, else in brackets,
// so a bare name with blanks drops too.
QString dropIntoStatement(const QString& into);

// What the window running a query does for it: whether it shows the table
// about to be replaced, and switching it to its first table so that it lets go.
struct ShownTable {
    std::function<bool(const QString& into)> shows;
    std::function<void()> switchAway;
};

// How often a query runs before a table that exists or is in use is reported.
inline constexpr int maxQueryTries = 3;

// Runs a query: builds its table, replacing one of the same name (3010: the
// window lets go if it shows it, the table is dropped, the query runs again;
// 3211: the window lets go and the query runs again, at most maxQueryTries
// runs in all), then lists the table in sysTables unless it is listed already.
// Returns the listed name; any other engine error passes to the caller.
QString runSqlQuery(store::Database& database, const SqlQuery& query, const ShownTable& window = {});

// The three lines that report a built table, joined by carriage returns.
QString finishedBuildingText(const QString& listedName);

} // namespace qv::query
