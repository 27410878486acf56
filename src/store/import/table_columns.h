#pragma once

#include "store/database.h"

#include <QHash>
#include <QStringList>

#include <optional>

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

    // The text the columns are read from: the schema's statements. Two
    // databases with the same text have the same columns.
    static QString schemaText(sqlite3* connection, const QString& schema);

private:
    struct Columns {
        QStringList names;
        QStringList types;
    };
    QHash<QString, Columns> byTable_; // keyed as the engine matches names: ASCII case folded
};

// The columns of the round databases a batch reads one after another, read
// again only when a round's schema differs from the one before: the rounds of
// one auction are made alike.
class RoundColumnsCache {
public:
    const TableColumns& columnsOf(sqlite3* connection, const QString& schema);

private:
    QString schemaText_;
    std::optional<TableColumns> columns_;
};

} // namespace qv
