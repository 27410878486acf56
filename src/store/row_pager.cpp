#include "store/row_pager.h"

#include "common/error.h"
#include "store/database.h"
#include "store/record_reader.h"
#include "store/sql_quote.h"
#include "store/sqlite_statement.h"

#include <algorithm>

namespace qv::store {

namespace {

// Chunks kept: the rows on show and around them, and a walk through the
// rows (a print, an export) never reads a chunk twice.
constexpr size_t KeptChunks = 8;
// Ids read at a time in the table's own order: the first read is small, so
// that the first rows show at once; later reads grow.
constexpr int FirstIdRead = 4 * RowPager::ChunkRows;
constexpr int LargestIdRead = 256 * RowPager::ChunkRows;

QString whereClause(const QStringList& conditions)
{
    if (conditions.isEmpty())
        return {};
    return QStringLiteral(" WHERE (") + conditions.join(QStringLiteral(") AND (")) + QLatin1Char(')');
}

} // namespace

RowPager::RowPager(std::weak_ptr<Database> database, PagedSource source, std::vector<Field> fields,
                   const QString& shownAs)
    : database_(std::move(database)), source_(std::move(source)), fields_(std::move(fields))
{
    auto db = database_.lock();
    if (!db || !db->isOpen())
        throw Error(err::ObjectInvalid,
                    QStringLiteral("Object invalid or no longer set: the database is closed."));
    if (!source_.order.isEmpty()) {
        // An order of its own: the engine sorts once, and every id is read.
        readAllIds(db, shownAs);
        finishFields(db);
        return;
    }
    Statement counting(db->handle(),
                       QStringLiteral("SELECT count(*) FROM ") + source_.table +
                           whereClause(source_.conditions),
                       nullptr, shownAs);
    if (counting.step())
        count_ = sqlite3_column_int(counting.get(), 0);
    finishFields(db);
}

void RowPager::finishFields(const std::shared_ptr<Database>& db)
{
    // A column without a declared type takes its type from its first rows'
    // values, as a set read whole takes it from its first value.
    if (count_ == 0 ||
        std::none_of(fields_.begin(), fields_.end(), [](const Field& f) { return f.typeFromValues; }))
        return;
    std::vector<Field> typed;
    chunks_.push_back(readChunk(db, 0, &typed));
    fields_ = std::move(typed);
}

QString RowPager::idStatement(const QString& extraCondition, bool descending, bool limited) const
{
    QStringList conditions = source_.conditions;
    if (!extraCondition.isEmpty())
        conditions << extraCondition;
    QString sql = QStringLiteral("SELECT rowid FROM ") + source_.table + whereClause(conditions);
    if (!source_.order.isEmpty())
        return sql + QStringLiteral(" ORDER BY ") + source_.order;
    sql += descending ? QStringLiteral(" ORDER BY rowid DESC") : QStringLiteral(" ORDER BY rowid");
    if (limited)
        sql += QStringLiteral(" LIMIT ?2");
    return sql;
}

void RowPager::readAllIds(const std::shared_ptr<Database>& db, const QString& shownAs)
{
    Statement ids(db->handle(), idStatement({}, false, false), nullptr, shownAs);
    while (ids.step())
        head_.push_back(sqlite3_column_int64(ids.get(), 0));
    count_ = static_cast<int>(head_.size());
    headEnded_ = true;
}

void RowPager::readIds(const std::shared_ptr<Database>& db, int wanted, bool backward)
{
    // Forward reads extend the first positions, backward ones the last.
    RowIds& ids = backward ? tail_ : head_;
    const RowIds& other = backward ? head_ : tail_;
    const bool first = ids.empty();
    const QString after = backward ? QStringLiteral("rowid < ?1") : QStringLiteral("rowid > ?1");
    Statement read(db->handle(), idStatement(first ? QString() : after, backward, true));
    if (!first)
        sqlite3_bind_int64(read.get(), 1, ids.back());
    sqlite3_bind_int(read.get(), 2, wanted);
    int count = 0;
    while (read.step()) {
        const std::int64_t id = sqlite3_column_int64(read.get(), 0);
        if (!other.empty() && (backward ? id <= other.back() : id >= other.back()))
            return joinHeadAndTail();
        ids.push_back(id);
        ++count;
    }
    if (count < wanted)
        joinHeadAndTail(); // the last id read: nothing lies between
}

void RowPager::joinHeadAndTail()
{
    // Forward and backward reads met: every id is known, in order.
    head_.appendReversed(tail_);
    tail_.clear();
    headEnded_ = true;
}

bool RowPager::knowPositions(const std::shared_ptr<Database>& db, int first, int end)
{
    const auto known = [&] {
        const int head = static_cast<int>(head_.size());
        const int tailStart = count_ - static_cast<int>(tail_.size());
        return end <= head || (first >= tailStart && !tail_.empty());
    };
    if (headEnded_ || known())
        return known();
    const int headGap = first - static_cast<int>(head_.size());
    const int tailGap = (count_ - static_cast<int>(tail_.size())) - end;
    if (tailGap < headGap) {
        // Nearer the end (a jump to the last rows): read back from it.
        readIds(db, std::max(tailGap + (end - first), FirstIdRead), true);
        return known();
    }
    while (!headEnded_ && !known()) {
        const int wanted = std::clamp(end - static_cast<int>(head_.size()), FirstIdRead, LargestIdRead);
        const size_t before = head_.size();
        readIds(db, std::max(wanted, static_cast<int>(head_.size())), false);
        if (head_.size() == before)
            break;
    }
    return known();
}

std::int64_t RowPager::idAt(int position) const
{
    if (position < static_cast<int>(head_.size()))
        return head_[static_cast<size_t>(position)];
    const int fromEnd = count_ - 1 - position;
    if (fromEnd >= 0 && fromEnd < static_cast<int>(tail_.size()))
        return tail_[static_cast<size_t>(fromEnd)];
    return -1;
}

void RowPager::readById(const std::shared_ptr<Database>& db, const QString& columns,
                        const std::vector<Field>& fields, int first, int end, RecordReaderResult& result)
{
    const bool known = knowPositions(db, first, end);
    Statement row(db->handle(), QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") +
                                    source_.table + QStringLiteral(" WHERE rowid = ?1"));
    RecordReader reader(row, &fields);
    for (int position = first; position < end; ++position) {
        const std::int64_t id = known ? idAt(position) : -1;
        sqlite3_reset(row.get());
        sqlite3_bind_int64(row.get(), 1, id);
        // A row deleted since the set was opened shows empty.
        if (id != -1 && row.step())
            reader.readRow();
        else
            reader.readNullRow();
    }
    reader.finish();
    result.fields = reader.takeFields();
    result.columns = reader.takeColumns();
}

RowPager::Chunk RowPager::readChunk(const std::shared_ptr<Database>& db, int index, std::vector<Field>* typed)
{
    const int first = index * ChunkRows;
    RecordReaderResult read;
    readById(db, QStringLiteral("*"), fields_, first, std::min(count_, first + ChunkRows), read);
    if (typed)
        *typed = std::move(read.fields);
    Chunk chunk;
    chunk.index = index;
    chunk.columns = std::move(read.columns);
    return chunk;
}

ColumnValues RowPager::readColumn(int column, int first, int rows)
{
    const int end = std::min(count_, first + rows);
    const std::vector<Field> field = {fields_.at(static_cast<size_t>(column))};
    auto db = database_.lock();
    if (!db || !db->isOpen() || first < 0 || first >= end)
        return {};
    RecordReaderResult read;
    readById(db, quoteName(field.front().name), field, first, end, read);
    return std::move(read.columns.front());
}

const std::vector<ColumnValues>* RowPager::chunkOf(int row, int& offset)
{
    if (row < 0 || row >= count_)
        return nullptr;
    const int index = row / ChunkRows;
    offset = row % ChunkRows;
    auto found =
        std::find_if(chunks_.begin(), chunks_.end(), [index](const Chunk& c) { return c.index == index; });
    if (found == chunks_.end()) {
        auto db = database_.lock();
        if (!db || !db->isOpen())
            return nullptr;
        Chunk read;
        try {
            read = readChunk(db, index);
        } catch (const Error&) {
            return nullptr; // shown empty: a grid paints and cannot report
        }
        if (chunks_.size() < KeptChunks) {
            chunks_.push_back(std::move(read));
            found = chunks_.end() - 1;
        } else {
            found = std::min_element(chunks_.begin(), chunks_.end(),
                                     [](const Chunk& a, const Chunk& b) { return a.lastUse < b.lastUse; });
            *found = std::move(read);
        }
    }
    found->lastUse = ++uses_;
    return &found->columns;
}

} // namespace qv::store
