#pragma once

#include <QStringList>

struct sqlite3;

namespace qv::test {

// The steps of the engine's plan for an SQLite statement (EXPLAIN QUERY
// PLAN's detail column), in order.
QStringList queryPlan(sqlite3* db, const QString& sql);

// The steps of a plan that read a whole table or index ("SCAN t").
QStringList tableScans(const QStringList& plan);

} // namespace qv::test
