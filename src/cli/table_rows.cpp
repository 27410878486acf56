#include "cli/table_rows.h"

#include "grid/core/table_statements.h"
#include "store/database.h"

namespace qv::cli {

std::unique_ptr<store::RowSource> openTableRows(store::Database& database, const QString& table,
                                                const QString& round, const QString& filter,
                                                const QString& sort)
{
    grid::TableStream stream =
        round.isEmpty() ? grid::streamWholeTable(database, table) : grid::streamTable(database, table, round);
    if (filter.isEmpty() && sort.isEmpty())
        return std::move(stream.rows);
    if (stream.rows->typesDeclared())
        return stream.rows->narrowed(filter, sort);
    // A field typed by its values computes the filter and sort with the type
    // its values gave it: the rows are read first, as a grid window has them.
    std::unique_ptr<store::Recordset> rows = round.isEmpty() ? grid::loadWholeTable(database, table).rows
                                                             : grid::loadTable(database, table, round).rows;
    // The grid's Filter, then its Sort: each opens a new set from the one on show.
    if (!filter.isEmpty()) {
        rows->filter = filter;
        rows = rows->openRecordset();
    }
    if (!sort.isEmpty()) {
        rows->sort = sort;
        rows = rows->openRecordset();
    }
    return std::make_unique<store::RecordsetRows>(std::move(rows));
}

} // namespace qv::cli
