#pragma once

#include "store/database.h"
#include "store/import/table_columns.h"

#include <optional>

namespace qv {

// Copies the supplied tables of a round database read on a connection of its
// own (a Jet round, read into memory) into the auction, row by row: the
// round's old rows are deleted first (unless the auction is new), and
// "Withdrawal Statistics" is replaced whole.
void copyRoundTables(store::Database& auction, store::Database& roundDb, const QStringList& tables, int round,
                     bool deleteOldRows);

// The same for a round attached to the auction's connection, one statement
// a table, with the columns of both read.
void copyAttachedRoundTables(store::Database& auction, const TableColumns& auctionColumns,
                             const TableColumns& roundColumns, const QStringList& tables, int round,
                             bool deleteOldRows);

} // namespace qv
