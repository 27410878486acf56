#include "store/sample/table_writer.h"

#include "common/error.h"
#include "common/vector_state.h"
#include "store/sql_quote.h"

#include <QStringList>

#include <sqlite3.h>

namespace qv::store::sample {

namespace {

[[noreturn]] void fail(sqlite3* db, const QString& what)
{
    throw Error(err::EngineFailure, what + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db)));
}

} // namespace

void executeStatement(sqlite3* db, const QString& sql)
{
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(db, sql);
}

TableWriter::TableWriter(sqlite3* db, const QString& table, const std::vector<ColumnSpec>& columns)
    : db_(db), table_(table), columns_(static_cast<int>(columns.size()))
{
    QStringList definitions;
    QStringList names;
    for (const ColumnSpec& column : columns) {
        const QString name = QString::fromLatin1(column.name);
        definitions << columnDefinition(name, column.type, column.textLength);
        names << quoteName(name);
    }
    executeStatement(db_, QStringLiteral("CREATE TABLE ") + quoteName(table_) + QStringLiteral(" (") +
                              definitions.join(QStringLiteral(", ")) + QLatin1Char(')'));

    QStringList marks;
    for (int i = 0; i < columns_; ++i)
        marks << QStringLiteral("?");
    const QByteArray insert = (QStringLiteral("INSERT INTO ") + quoteName(table_) + QStringLiteral(" (") +
                               names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                               marks.join(QStringLiteral(", ")) + QLatin1Char(')'))
                                  .toUtf8();
    if (sqlite3_prepare_v2(db_, insert.constData(), -1, &insert_, nullptr) != SQLITE_OK)
        fail(db_, QStringLiteral("Cannot prepare the rows of ") + table_);
}

TableWriter::~TableWriter()
{
    sqlite3_finalize(insert_);
}

int TableWriter::nextParameter()
{
    if (bound_ >= columns_)
        throw Error(err::EngineFailure, QStringLiteral("Too many values for a row of ") + table_);
    return ++bound_;
}

void TableWriter::check(int result, const char* what)
{
    if (result != SQLITE_OK)
        fail(db_, QString::fromLatin1(what) + QStringLiteral(" in ") + table_);
}

TableWriter& TableWriter::add(qint64 value)
{
    check(sqlite3_bind_int64(insert_, nextParameter(), value), "Cannot bind a number");
    return *this;
}

TableWriter& TableWriter::add(double value)
{
    check(sqlite3_bind_double(insert_, nextParameter(), value), "Cannot bind a number");
    return *this;
}

TableWriter& TableWriter::add(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    check(sqlite3_bind_text(insert_, nextParameter(), utf8.constData(), static_cast<int>(utf8.size()),
                            SQLITE_TRANSIENT),
          "Cannot bind a text");
    return *this;
}

TableWriter& TableWriter::addNull()
{
    check(sqlite3_bind_null(insert_, nextParameter()), "Cannot bind an empty value");
    return *this;
}

void TableWriter::endRow()
{
    if (bound_ != columns_)
        throw Error(err::EngineFailure, QStringLiteral("Too few values for a row of ") + table_);
    clearUpperVectorState();
    if (sqlite3_step(insert_) != SQLITE_DONE)
        fail(db_, QStringLiteral("Cannot append a row to ") + table_);
    sqlite3_reset(insert_);
    bound_ = 0;
}

} // namespace qv::store::sample
