#pragma once

#include "store/row_source.h"

#include <QString>

#include <memory>

namespace qv::store {
class Database;
}

namespace qv::cli {

// The rows a grid window shows for a table and round (the whole table, in its
// own order, when round is empty), filtered and then sorted as the grid's
// Filter and Sort do (either may be empty), read as they are written out.
std::unique_ptr<store::RowSource> openTableRows(store::Database& database, const QString& table,
                                                const QString& round, const QString& filter = {},
                                                const QString& sort = {});

} // namespace qv::cli
