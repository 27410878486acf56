#pragma once

#include "store/database.h"
#include "store/import/table_columns.h"

#include <optional>

namespace qv {

// Copies the supplied tables of a round database into the auction: the
// round's old rows are deleted first (unless the auction is new), and
// "Withdrawal Statistics" is replaced whole.
void copyRoundTables(store::Database& auction, store::Database& roundDb, int round, bool deleteOldRows);
// The same, for the auction's supplied tables already read.
void copyRoundTables(store::Database& auction, store::Database& roundDb, const QStringList& tables, int round,
                     bool deleteOldRows);
// The same with both databases' columns read (none for a Jet round).
void copyRoundTables(store::Database& auction, const std::optional<TableColumns>& auctionColumns,
                     store::Database& roundDb, const std::optional<TableColumns>& roundColumns,
                     const QStringList& tables, int round, bool deleteOldRows);

// The same for a round attached to the auction's connection (AttachedRound),
// with the columns of both read.
void copyAttachedRoundTables(store::Database& auction, const TableColumns& auctionColumns,
                             const TableColumns& roundColumns, const QStringList& tables, int round,
                             bool deleteOldRows);

// Attaches a round database of our own format to the auction's connection
// for the length of a scope, so its tables copy in one statement each. A Jet
// round, read into memory, copies row by row instead.
class AttachedRound {
public:
    AttachedRound(store::Database& auction, store::Database& roundDb);
    // The round database at path, which must be of our own format.
    AttachedRound(store::Database& auction, const QString& path);
    ~AttachedRound();
    AttachedRound(const AttachedRound&) = delete;
    AttachedRound& operator=(const AttachedRound&) = delete;

private:
    store::Database& auction_;
};

// Removes a file when the scope ends, whatever happened.
class RemoveOnExit {
public:
    explicit RemoveOnExit(QString path) : path_(std::move(path)) {}
    ~RemoveOnExit();
    RemoveOnExit(const RemoveOnExit&) = delete;
    RemoveOnExit& operator=(const RemoveOnExit&) = delete;

private:
    QString path_;
};

} // namespace qv
