#include "store/jet/jet_reader.h"

#include "common/error.h"
#include "store/jet/bounded_run.h"
#include "store/jet/jet_header.h"
#include "store/jet/jet_sqlite_target.h"
#include "store/jet/jet_values.h"
#include "store/jet/mdb_library.h"

#include <QFile>

#include <sqlite3.h>

#include <charconv>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace qv::store::jet {

namespace {

const MdbLibrary& lib()
{
    return mdbLibrary();
}

// libmdb writes into bound buffers (its own for the catalogue, ours for the tables) either a
// whole row of a long-value page, copied raw, or a text cut at the bind size. Rows are never longer
// than a page (2 KB in Jet 3, 4 KB in Jet 4), and a page of texts converted to UTF-8 takes at most
// three bytes per stored byte: with this size nothing is ever cut or written past a buffer's end.
constexpr size_t largestPage = 4096;
constexpr size_t bindSize = 3 * largestPage + 1;
static_assert(bindSize > 255 * 3, "a Text value of 255 characters must fit");
constexpr size_t memoHeaderSize = 12;
constexpr quint32 memoLengthMask = 0x3fffffff;
constexpr quint32 largestMemo = 64u << 20;

struct HandleCloser {
    void operator()(MdbHandle* mdb) const { lib().mdb_close(mdb); }
};
struct TableFreer {
    void operator()(MdbTableDef* table) const { lib().mdb_free_tabledef(table); }
};
struct GFreer {
    void operator()(void* p) const { lib().g_free(p); }
};
using HandlePtr = std::unique_ptr<MdbHandle, HandleCloser>;
using TablePtr = std::unique_ptr<MdbTableDef, TableFreer>;

Error damaged(const QString& path, const QString& what)
{
    return Error(err::NotADatabase,
                 QStringLiteral("The database '%1' is damaged or unreadable (%2).").arg(path, what));
}

// How one Jet column is read.
enum class Reading {
    Boolean,  // bound text "1"/"0"; stored as -1 and 0
    Byte,     // raw unsigned 8 bits
    Int16,    // raw
    Int32,    // raw
    Single,   // raw float, widened exactly
    Double,   // raw
    Currency, // raw scaled 64-bit integer
    DateTime, // raw double
    Text,     // bound, converted to UTF-8 by libmdb
    Memo,     // converted on demand so that long memos are not cut at the bind size
    Binary,   // raw bytes stored as a blob
    Ole,      // long binary stored as a blob
    Decimal,  // bound decimal text, stored as a double
    Guid,     // bound text "{...}"
};

struct SourceColumn {
    MdbColumn* column = nullptr;
    Reading reading = Reading::Text;
    std::vector<char> bound; // the bind buffer of bound readings
    int boundLength = 0;
    std::string converted; // reused for memo text
};

// Jet type to reading and stored field type.
TargetColumn describe(const MdbColumn& column, JetVersion version, Reading* reading)
{
    TargetColumn target;
    target.name = QString::fromUtf8(column.name);
    switch (column.col_type) {
    case MDB_BOOL:
        *reading = Reading::Boolean;
        target.type = FieldType::Boolean;
        break;
    case MDB_BYTE:
        *reading = Reading::Byte;
        target.type = FieldType::Integer;
        break;
    case MDB_INT:
        *reading = Reading::Int16;
        target.type = FieldType::Integer;
        break;
    case MDB_LONGINT:
        *reading = Reading::Int32;
        target.type = FieldType::Integer;
        break;
    case MDB_MONEY:
        *reading = Reading::Currency;
        target.type = FieldType::Currency;
        break;
    case MDB_FLOAT:
        *reading = Reading::Single;
        target.type = FieldType::Double;
        break;
    case MDB_DOUBLE:
        *reading = Reading::Double;
        target.type = FieldType::Double;
        break;
    case MDB_DATETIME:
        *reading = Reading::DateTime;
        target.type = FieldType::Date;
        break;
    case MDB_TEXT:
        *reading = Reading::Text;
        target.type = FieldType::Text;
        target.textLength = declaredTextLength(column.col_size, version);
        break;
    case MDB_NUMERIC:
        *reading = Reading::Decimal;
        target.type = FieldType::Double;
        break;
    case MDB_REPID:
        *reading = Reading::Guid;
        target.type = FieldType::Text;
        target.textLength = 38;
        break;
    case MDB_BINARY:
        *reading = Reading::Binary;
        target.type = FieldType::Memo;
        break;
    case MDB_OLE:
        *reading = Reading::Ole;
        target.type = FieldType::Memo;
        break;
    default: // Memo, and whatever else a newer engine adds: kept as text
        *reading = Reading::Memo;
        target.type = FieldType::Memo;
        break;
    }
    return target;
}

bool isBound(Reading reading)
{
    return reading == Reading::Boolean || reading == Reading::Text || reading == Reading::Decimal ||
           reading == Reading::Guid || reading == Reading::Ole;
}

// Copies the rows of one table; the table's columns are already read.
class TableCopier {
public:
    TableCopier(MdbHandle* mdb, MdbTableDef* table, JetVersion version, const SqliteCopyScope& scope)
        : mdb_(mdb), table_(table), scope_(scope)
    {
        std::vector<TargetColumn> targets;
        columns_.resize(table->num_cols);
        for (unsigned i = 0; i < table->num_cols; ++i) {
            SourceColumn& source = columns_[i];
            source.column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
            if (source.column->name[0] == '\0')
                throw damaged(scope.sourcePath(), QStringLiteral("a column without a name"));
            targets.push_back(describe(*source.column, version, &source.reading));
            if (isBound(source.reading)) {
                source.bound.assign(bindSize, '\0');
                lib().mdb_bind_column(table, int(i) + 1, source.bound.data(), &source.boundLength);
            }
        }
        writer_ = std::make_unique<SqliteTableWriter>(scope, QString::fromUtf8(table->name), targets);
    }

    void copyRows()
    {
        lib().mdb_rewind_table(table_);
        while (lib().mdb_fetch_row(table_)) {
            for (std::size_t i = 0; i < columns_.size(); ++i)
                bindValue(int(i), columns_[i]);
            writer_->insertRow();
        }
    }

private:
    const unsigned char* raw(const SourceColumn& source, int expectedSize) const
    {
        const MdbColumn& column = *source.column;
        if (column.cur_value_start < 0 || column.cur_value_len < 0 ||
            column.cur_value_start + column.cur_value_len > mdb_->fmt->pg_size ||
            (expectedSize > 0 && column.cur_value_len != expectedSize))
            throw damaged(scope_.sourcePath(),
                          QStringLiteral("table '%1', column '%2'")
                              .arg(QString::fromUtf8(table_->name), QString::fromUtf8(column.name)));
        return mdb_->pg_buf + column.cur_value_start;
    }

    template <typename T> T rawValue(const SourceColumn& source) const
    {
        T value;
        std::memcpy(&value, raw(source, sizeof(T)), sizeof(T)); // the file is little-endian, as are we
        return value;
    }

    void bindValue(int index, SourceColumn& source)
    {
        const MdbColumn& column = *source.column;
        if (source.reading == Reading::Boolean) {
            writer_->bindInteger(index, source.bound[0] == '1' ? -1 : 0);
            return;
        }
        // libmdb reports a null, and an empty value, as length 0.
        const bool empty = isBound(source.reading) ? source.boundLength == 0 : column.cur_value_len == 0;
        if (empty) {
            writer_->bindNull(index);
            return;
        }
        switch (source.reading) {
        case Reading::Boolean:
            break;
        case Reading::Byte:
            writer_->bindInteger(index, rawValue<quint8>(source));
            break;
        case Reading::Int16:
            writer_->bindInteger(index, rawValue<qint16>(source));
            break;
        case Reading::Int32:
            writer_->bindInteger(index, rawValue<qint32>(source));
            break;
        case Reading::Single:
            writer_->bindReal(index, double(rawValue<float>(source)));
            break;
        case Reading::Double:
            writer_->bindReal(index, rawValue<double>(source));
            break;
        case Reading::Currency:
            writer_->bindReal(index, currencyToReal(rawValue<qint64>(source)));
            break;
        case Reading::DateTime:
            bindDate(index, source);
            break;
        case Reading::Text:
        case Reading::Guid:
            writer_->bindText(index, source.bound.data(), source.boundLength);
            break;
        case Reading::Decimal:
            bindDecimal(index, source);
            break;
        case Reading::Memo:
            bindMemo(index, source);
            break;
        case Reading::Binary:
            writer_->bindBlob(index, raw(source, 0), column.cur_value_len);
            break;
        case Reading::Ole:
            bindOle(index, source);
            break;
        }
    }

    void bindDate(int index, SourceColumn& source)
    {
        const auto text = jetDateToStorage(rawValue<double>(source));
        if (!text)
            throw damaged(scope_.sourcePath(),
                          QStringLiteral("table '%1', column '%2': a date out of range")
                              .arg(QString::fromUtf8(table_->name), QString::fromUtf8(source.column->name)));
        source.converted = text->toStdString();
        writer_->bindText(index, source.converted.data(), int(source.converted.size()));
    }

    void bindDecimal(int index, const SourceColumn& source)
    {
        double value = 0;
        const char* first = source.bound.data();
        const auto result = std::from_chars(first, first + source.boundLength, value);
        if (result.ec != std::errc())
            throw damaged(scope_.sourcePath(),
                          QStringLiteral("table '%1', column '%2'")
                              .arg(QString::fromUtf8(table_->name), QString::fromUtf8(source.column->name)));
        writer_->bindReal(index, value);
    }

    // libmdb cuts converted text at its bind size; size it to this memo before converting.
    void bindMemo(int index, SourceColumn& source)
    {
        const MdbColumn& column = *source.column;
        const unsigned char* header = raw(source, 0);
        if (column.cur_value_len < int(memoHeaderSize)) {
            writer_->bindNull(index);
            return;
        }
        quint32 stored = 0;
        std::memcpy(&stored, header, sizeof stored);
        stored &= memoLengthMask;
        if (stored > largestMemo)
            throw damaged(scope_.sourcePath(),
                          QStringLiteral("table '%1', column '%2'")
                              .arg(QString::fromUtf8(table_->name), QString::fromUtf8(column.name)));
        const size_t previous = mdb_->bind_size;
        lib().mdb_set_bind_size(mdb_, std::max<size_t>(bindSize, size_t(stored) * 3 + 16));
        std::unique_ptr<char, GFreer> text(lib().mdb_col_to_string(mdb_, mdb_->pg_buf, column.cur_value_start,
                                                                   column.col_type, column.cur_value_len));
        lib().mdb_set_bind_size(mdb_, previous);
        source.converted.assign(text ? text.get() : "");
        writer_->bindText(index, source.converted.data(), int(source.converted.size()));
    }

    void bindOle(int index, SourceColumn& source)
    {
        size_t size = 0;
        std::unique_ptr<char, GFreer> data(
            static_cast<char*>(lib().mdb_ole_read_full(mdb_, source.column, &size)));
        if (!data) {
            writer_->bindNull(index);
            return;
        }
        source.converted.assign(data.get(), size);
        writer_->bindBlob(index, source.converted.data(), int(source.converted.size()));
    }

    MdbHandle* mdb_;
    MdbTableDef* table_;
    const SqliteCopyScope& scope_;
    std::vector<SourceColumn> columns_;
    std::unique_ptr<SqliteTableWriter> writer_;
};

QByteArray readWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        throw Error(err::FileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw Error(err::NotADatabase, QStringLiteral("Could not read the database '%1'.").arg(path));
    return file.readAll();
}

bool isEngineTable(const char* name)
{
    return std::strncmp(name, "MSys", 4) == 0;
}

} // namespace

bool isJetDatabase(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return hasJetSignature(file.read(32));
}

namespace {

QStringList copyBytes(const QString& mdbPath, QByteArray& bytes, const JetFileLayout& layout,
                      sqlite3* destination, const QString& schema, bool lengthChecks)
{
    // libmdb reads from our copy in memory; it keeps the pointer, so `bytes` outlives the handle.
    HandlePtr mdb(lib().mdb_open_buffer(bytes.data(), size_t(bytes.size()), MDB_NOFLAGS));
    if (!mdb)
        throw damaged(mdbPath, QStringLiteral("the header cannot be read"));
    lib().mdb_set_bind_size(mdb.get(), bindSize);
    lib().mdb_set_boolean_fmt_numbers(mdb.get());
    if (!lib().mdb_read_catalog(mdb.get(), MDB_TABLE))
        throw damaged(mdbPath, QStringLiteral("the catalogue cannot be read"));

    SqliteCopyScope scope(destination, mdbPath, schema, lengthChecks);
    QStringList names;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE)
            continue;
        names << QString::fromUtf8(entry->object_name);
        if (isEngineTable(entry->object_name))
            continue;
        // A definition page outside the file or of another kind would send libmdb astray.
        if (entry->table_pg < 3 || entry->table_pg >= static_cast<unsigned long>(layout.pageCount) ||
            static_cast<unsigned char>(bytes[qsizetype(entry->table_pg) * layout.pageSize]) != 0x02)
            throw damaged(mdbPath, QStringLiteral("table '%1' has no definition").arg(names.last()));
        TablePtr table(lib().mdb_read_table(entry));
        if (!table || !lib().mdb_read_columns(table.get()) || table->num_cols == 0 ||
            table->num_cols > MDB_MAX_COLS)
            throw damaged(mdbPath, QStringLiteral("table '%1' cannot be read").arg(names.last()));
        TableCopier copier(mdb.get(), table.get(), layout.version, scope);
        copier.copyRows();
    }
    scope.commit();
    return names;
}

// libmdb may loop for ever on a damaged file (in its property reader, printing a warning each time
// round): the whole read is tried first in a child process, into a database of its own, with a time
// limit and a cap on what it may print. A sound round reads in milliseconds and prints nothing.
void requireReadEnds(const QString& mdbPath, QByteArray& bytes, const JetFileLayout& layout)
{
    using namespace std::chrono_literals;
    const auto limit = 10s + std::chrono::seconds(bytes.size() >> 20);
    constexpr qint64 outputCap = 256 * 1024;
    const BoundedEnd end = runBounded(
        [&] {
            sqlite3* trial = nullptr;
            if (sqlite3_open(":memory:", &trial) == SQLITE_OK)
                copyBytes(mdbPath, bytes, layout, trial, QStringLiteral("main"), false);
        },
        limit, outputCap);
    if (end == BoundedEnd::TooLong)
        throw damaged(mdbPath, QStringLiteral("reading it does not end"));
    if (end == BoundedEnd::TooLoud)
        throw damaged(mdbPath, QStringLiteral("reading it prints warning after warning"));
    if (end == BoundedEnd::Crashed)
        throw damaged(mdbPath, QStringLiteral("reading it crashes"));
}

} // namespace

QStringList copyJetIntoSqlite(const QString& mdbPath, sqlite3* destination, const QString& schema,
                              bool lengthChecks)
{
    QByteArray bytes = readWholeFile(mdbPath);
    const JetFileLayout layout = checkJetFile(mdbPath, bytes);
    lib(); // loaded here, not in the child
    requireReadEnds(mdbPath, bytes, layout);
    return copyBytes(mdbPath, bytes, layout, destination, schema, lengthChecks);
}

} // namespace qv::store::jet
