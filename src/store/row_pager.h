#pragma once

#include "store/column_values.h"
#include "store/recordset.h"
#include "store/row_ids.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

namespace qv::store {

class Database;

// Where a paged record set's rows come from: the rows of one table that meet
// every condition, in an order. All in SQLite's SQL.
struct PagedSource {
    QString table;          // quoted
    QStringList conditions; // each a WHERE expression
    QString order;          // ORDER BY list; empty for the table's own (row id) order
};

// Reads a paged set's rows when they are asked for, so that a table of
// millions of rows opens at once: their number with one statement, the row
// ids in the set's order as far as the positions asked for (from either end
// when the order is the table's own), and the rows themselves a chunk at a
// time by their ids, a few chunks kept. No statement stays active between
// calls, so the connection's other work (dropping a table, a commit) is never
// blocked by a set on show.
class RowPager {
public:
    static constexpr int ChunkRows = 1024;

    // Counts the rows (and, for an order of its own, reads their ids).
    // Engine errors raise as for any statement, naming shownAs.
    RowPager(std::weak_ptr<Database> database, PagedSource source, std::vector<Field> fields,
             const QString& shownAs);

    const PagedSource& source() const { return source_; }
    int count() const { return count_; }
    const std::vector<Field>& fields() const { return fields_; }
    // The chunk that holds a row and the row's place in it; nullptr when the
    // row cannot be read (the database closed, or the row gone from a
    // table changed since).
    const std::vector<ColumnValues>* chunkOf(int row, int& offset);
    // One column of rows first..first+rows-1 straight from the engine, kept
    // nowhere: totals over a whole column read it without the chunks of
    // every field.
    ColumnValues readColumn(int column, int first, int rows);

private:
    struct Chunk {
        int index = -1;
        std::uint64_t lastUse = 0;
        std::vector<ColumnValues> columns;
    };
    QString idStatement(const QString& extraCondition, bool descending, bool limited) const;
    void readAllIds(const std::shared_ptr<Database>& db, const QString& shownAs);
    // Reads ids until every position below end is known.
    bool knowPositions(const std::shared_ptr<Database>& db, int first, int end);
    void readIds(const std::shared_ptr<Database>& db, int wanted, bool backward);
    void joinHeadAndTail();
    std::int64_t idAt(int position) const;
    struct RecordReaderResult {
        std::vector<Field> fields;
        std::vector<ColumnValues> columns;
    };
    // Reads the columns of positions first..end-1 by their row ids.
    void readById(const std::shared_ptr<Database>& db, const QString& columns,
                  const std::vector<Field>& fields, int first, int end, RecordReaderResult& result);
    Chunk readChunk(const std::shared_ptr<Database>& db, int index, std::vector<Field>* typed = nullptr);
    void finishFields(const std::shared_ptr<Database>& db);

    std::weak_ptr<Database> database_;
    PagedSource source_;
    std::vector<Field> fields_;
    int count_ = 0;
    // Ids of the first positions, and of the last ones from the end backwards.
    RowIds head_, tail_;
    bool headEnded_ = false; // no more ids forward (the table shrank since it was counted)
    std::vector<Chunk> chunks_;
    std::uint64_t uses_ = 0;
};

} // namespace qv::store
