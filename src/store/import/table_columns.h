#pragma once

#include "store/database.h"

#include <QHash>
#include <QStringList>

namespace qv {

// The columns of every table of a database, read in one statement and kept
// for the length of one import, so that the checks and the copy of a round
// do not ask the engine again for each table.
class TableColumns {
public:
    explicit TableColumns(store::Database& db);
    // The tables of the database attached to connection as schema.
    TableColumns(sqlite3* connection, const QString& schema);

    bool hasTable(const QString& table) const;
    // Names and declared types in column order; none when there is no such table.
    QStringList names(const QString& table) const;
    QStringList types(const QString& table) const;

private:
    struct Columns {
        QStringList names;
        QStringList types;
    };
    QHash<QString, Columns> byTable_; // keyed as the engine matches names: ASCII case folded
};

} // namespace qv
