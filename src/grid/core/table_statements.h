#pragma once

#include "store/database.h"

#include <QString>

#include <memory>

namespace qv::grid {

// The six statistics tables are shown whole, whatever the round.
bool isStatisticsTable(const QString& table);

// The ordering appended for a table (" Order By [Round]"), empty for none.
QString tableOrdering(const QString& table);

// The statement that loads a table for a round: whole for the statistics
// tables, else the round's rows; then the table's ordering.
QString tableStatement(const QString& table, const QString& round);
// The statement of a round change: always with the round condition. Error 13
// when the round is not a whole number.
QString roundStatement(const QString& table, const QString& round);
// The fallback for a table without a [Round] column: the whole table.
QString wholeTableStatement(const QString& table);

// "All Bids - Round 5", or the table alone when the round list is off.
QString tableCaption(const QString& table, const QString& round, bool roundListEnabled);

// The values a column holds over every round of a table, once each, for the
// filter's value lists: sorted as the engine compares them (texts without
// regard to case, numbers as numbers) and written as the grid shows them.
QStringList distinctValues(store::Database& database, const QString& table, const QString& column);

// One table load: what was run, what it returned (a record set, or rows
// read as they are written out), and whether the round list applies.
template <typename Rows> struct TableRowsOf {
    QString statement;
    bool roundListEnabled = false;
    std::unique_ptr<Rows> rows;
};
using TableLoad = TableRowsOf<store::Recordset>;

// How a load reads the rows: all at once, or as a grid brings them into view
// (counted at once, then read a chunk at a time), so that a table of any size
// opens at once.
enum class RowReading { Whole, OnDemand };

// Opens the rows a grid window shows for a table and round as a snapshot.
// A table that lacks [Round] (error 3061) loads whole with the round list
// off; other engine errors pass to the caller.
TableLoad loadTable(store::Database& database, const QString& table, const QString& round,
                    RowReading reading = RowReading::Whole);
// Opens a round's rows of a table as a round change does (no fallback), read
// as they come into view.
std::unique_ptr<store::Recordset> loadRound(store::Database& database, const QString& table,
                                            const QString& round);

// Opens every row of a table, in the table's fixed order, as a snapshot.
TableLoad loadWholeTable(store::Database& database, const QString& table);

// The same rows read as they are written out (for exports): the statement
// prepared, nothing read yet.
using TableStream = TableRowsOf<store::RowStream>;
TableStream streamTable(store::Database& database, const QString& table, const QString& round);
TableStream streamWholeTable(store::Database& database, const QString& table);

} // namespace qv::grid
