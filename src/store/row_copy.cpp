#include "store/row_copy.h"

#include "common/error.h"
#include "store/database.h"
#include "store/field_type.h"
#include "store/open_databases.h"
#include "store/savepoint.h"
#include "store/sql_quote.h"
#include "store/sqlite_error.h"
#include "store/sqlite_statement.h"

#include <QFileInfo>

#include <sqlite3.h>

#include <vector>

namespace qv::store {

namespace {

// Error 3078 for the table that rows are copied into.
Error outputTableNotFound(const QString& target, const QString& targetPath)
{
    return Error(err::TableNotFound,
                 QStringLiteral("The database engine cannot find the output table '%1' in '%2'.")
                     .arg(target, targetPath));
}

// The target column that a source column fills, matched by name.
QString matchingColumn(const QStringList& targetColumns, const QString& name, const QString& target,
                       const QString& targetPath)
{
    for (const QString& column : targetColumns)
        if (column.compare(name, Qt::CaseInsensitive) == 0)
            return column;
    throw Error(err::UnknownInsertField,
                QStringLiteral("The INSERT INTO statement contains the following unknown field "
                               "name: '%1'. Table '%2' of '%3' has no such field.")
                    .arg(name, target, targetPath));
}

} // namespace

void copyAttachedTable(const QString& sourceTable, const QStringList& sourceColumns, Database& destination,
                       const QString& target, const QStringList& targetColumns, const QString& targetPath)
{
    if (targetColumns.isEmpty())
        throw outputTableNotFound(target, targetPath);
    // A table has at least one column, so no columns means no such table.
    if (sourceColumns.isEmpty())
        throw inputTableNotFound(sourceTable);
    QStringList into;
    QStringList from;
    for (const QString& name : sourceColumns) {
        into << quoteName(matchingColumn(targetColumns, name, target, targetPath));
        from << quoteName(name);
    }
    // One statement is all-or-nothing by itself: no savepoint around it.
    exec(destination.handle(),
         QStringLiteral("INSERT INTO main.") + quoteName(target) + QStringLiteral(" (") +
             into.join(QStringLiteral(", ")) + QStringLiteral(") SELECT ") + from.join(QStringLiteral(", ")) +
             QStringLiteral(" FROM ") + Database::sourceSchema() + QLatin1Char('.') + quoteName(sourceTable));
}

namespace {

// Source and target are one file: one INSERT ... SELECT on the source's
// connection, which reads every row the SELECT holds before it writes one, so
// a table copied into itself gains its rows once.
void copyWithinOneFile(Database& source, const QString& sourceSelect, const QStringList& targetColumns,
                       const QString& target, const QString& targetPath, const QString& shownAs)
{
    QStringList names;
    {
        Statement probe(source.handle(), sourceSelect, nullptr, shownAs);
        for (int i = 0; i < probe.columnCount(); ++i)
            names << quoteName(matchingColumn(targetColumns, probe.columnName(i), target, targetPath));
    }
    Statement copy(source.handle(),
                   QStringLiteral("INSERT INTO main.") + quoteName(target) + QStringLiteral(" (") +
                       names.join(QStringLiteral(", ")) + QStringLiteral(") SELECT * FROM (") + sourceSelect +
                       QLatin1Char(')'),
                   nullptr, shownAs);
    while (copy.step()) {
    }
}

} // namespace

void copyRowsInto(Database& source, const QString& sourceSelect, const QString& sourceTable,
                  const QString& targetPath, const QString& target, const QString& shownAs)
{
    std::shared_ptr<Database> destination = openDatabases().find(targetPath);
    std::shared_ptr<Database> opened;
    if (!destination) {
        opened = Database::open(targetPath);
        destination = opened;
    }
    if (destination->isReadOnly())
        throw Error(err::ReadOnlyDatabase,
                    QStringLiteral("Cannot update. Database or object is read-only ('%1').").arg(targetPath));
    if (!destination->tableExists(target))
        throw outputTableNotFound(target, targetPath);
    const QStringList targetColumns = destination->columnNames(target);

    if (!sourceTable.isEmpty() && destination->attachedSource() == source.path()) {
        copyAttachedTable(sourceTable,
                          source.tableExists(sourceTable) ? source.columnNames(sourceTable) : QStringList(),
                          *destination, target, targetColumns, targetPath);
        return;
    }

    if (destination.get() == &source || QFileInfo(source.path()) == QFileInfo(targetPath)) {
        copyWithinOneFile(source, sourceSelect, targetColumns, target, targetPath, shownAs);
        return;
    }

    Statement read(source.handle(), sourceSelect, nullptr, shownAs);
    QStringList names;
    std::vector<int> sourceIndex;
    for (int i = 0; i < read.columnCount(); ++i) {
        names << quoteName(matchingColumn(targetColumns, read.columnName(i), target, targetPath));
        sourceIndex.push_back(i);
    }
    QStringList marks;
    for (qsizetype i = 0; i < names.size(); ++i)
        marks << QStringLiteral("?");

    sqlite3* out = destination->handle();
    atomically(out, QStringLiteral("qv_copy"), [&] {
        Statement insert(out, QStringLiteral("INSERT INTO ") + quoteName(target) + QStringLiteral(" (") +
                                  names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                                  marks.join(QStringLiteral(", ")) + QLatin1Char(')'));
        const int n = static_cast<int>(sourceIndex.size());
        while (read.step()) {
            for (int i = 0; i < n; ++i)
                sqlite3_bind_value(insert.get(), i + 1,
                                   sqlite3_column_value(read.get(), sourceIndex[size_t(i)]));
            insert.step();
            sqlite3_reset(insert.get());
        }
    });
}

} // namespace qv::store
