#include "shell/outside_import_notice.h"

#include "store/session.h"

#include <sqlite3.h>

namespace qv::shell {

namespace {

// The first column of a one-row statement, or -1 when it cannot be read.
qint64 readNumber(sqlite3* connection, const char* statement)
{
    sqlite3_stmt* stmt = nullptr;
    qint64 value = -1;
    if (sqlite3_prepare_v2(connection, statement, -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_type(stmt, 0) != SQLITE_NULL)
        value = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return value;
}

} // namespace

OutsideImportNotice::OutsideImportNotice(std::function<void(const QString&)> announce, int intervalMs,
                                         QObject* parent)
    : QObject(parent), announce_(std::move(announce))
{
    setObjectName(QStringLiteral("outsideImportNotice"));
    connect(&timer_, &QTimer::timeout, this, &OutsideImportNotice::check);
    timer_.start(intervalMs);
}

void OutsideImportNotice::check()
{
    const auto& db = session().CurrentDatabase;
    sqlite3* connection = db && db->isOpen() && !db->isReadOnly() ? db->handle() : nullptr;
    if (connection == nullptr) {
        connection_ = nullptr;
        return;
    }
    const qint64 version = readNumber(connection, "PRAGMA data_version");
    const qint64 highest = readNumber(connection, "SELECT MAX([Round]) FROM [sysRounds]");
    const bool byOthers = connection == connection_ && version != dataVersion_;
    if (byOthers && highest > highest_)
        announce_(QStringLiteral("Round ") + QString::number(highest) +
                  QStringLiteral(" was imported by another program."));
    // Rounds this program imports itself move the mark without a word.
    const bool changed = connection == connection_ && (byOthers || highest != highest_);
    connection_ = connection;
    dataVersion_ = version;
    highest_ = highest;
    if (changed)
        emit roundsChanged();
}

} // namespace qv::shell
