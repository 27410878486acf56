#include "support/query_plan.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace qv::test {

QStringList queryPlan(sqlite3* db, const QString& sql)
{
    const QByteArray explain = "EXPLAIN QUERY PLAN " + sql.toUtf8();
    sqlite3_stmt* plan = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, explain.constData(), -1, &plan, nullptr), SQLITE_OK)
        << sql.toStdString() << ": " << sqlite3_errmsg(db);
    QStringList steps;
    while (plan && sqlite3_step(plan) == SQLITE_ROW)
        steps << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(plan, 3)));
    sqlite3_finalize(plan);
    return steps;
}

QStringList tableScans(const QStringList& plan)
{
    QStringList scans;
    for (const QString& step : plan)
        // Even "SCAN t USING INDEX i" reads every entry; only a SEARCH goes straight to its rows.
        if (step.startsWith(QLatin1String("SCAN ")))
            scans << step;
    return scans;
}

} // namespace qv::test
