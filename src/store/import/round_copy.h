#pragma once

#include "store/database.h"
#include "store/import/table_columns.h"

namespace qv {

// Copies the supplied tables of a round attached to the auction's connection
// into the auction, one statement a table, with the columns of both read: the
// round's old rows are deleted first (unless the auction is new), and
// "Withdrawal Statistics" is replaced whole.
void copyAttachedRoundTables(store::Database& auction, const TableColumns& auctionColumns,
                             const TableColumns& roundColumns, const QStringList& tables, int round,
                             bool deleteOldRows);

} // namespace qv
