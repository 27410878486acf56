#pragma once

#include <QStringList>

#include <sqlite3.h>

namespace qv::test {

// Every statement a connection runs while it lives.
class StatementLog {
public:
    explicit StatementLog(sqlite3* db) : db_(db)
    {
        sqlite3_trace_v2(db_, SQLITE_TRACE_STMT, &StatementLog::record, this);
    }
    ~StatementLog() { sqlite3_trace_v2(db_, 0, nullptr, nullptr); }
    StatementLog(const StatementLog&) = delete;
    StatementLog& operator=(const StatementLog&) = delete;

    QStringList matching(const QString& text) const { return statements.filter(text, Qt::CaseInsensitive); }

    QStringList statements;

private:
    static int record(unsigned, void* self, void*, void* sql)
    {
        static_cast<StatementLog*>(self)->statements << QString::fromUtf8(static_cast<const char*>(sql));
        return 0;
    }
    sqlite3* db_;
};

} // namespace qv::test
