#include "store/row_copy.h"

#include "common/error.h"
#include "store/database.h"
#include "store/field_type.h"
#include "store/open_databases.h"
#include "store/sqlite_statement.h"

#include <sqlite3.h>

#include <vector>

namespace qv::store {

void copyRowsInto(Database& source, const QString& sourceSelect, const QString& targetPath,
                  const QString& target)
{
    std::shared_ptr<Database> destination = openDatabases().find(targetPath);
    std::shared_ptr<Database> opened;
    if (!destination) {
        opened = Database::open(targetPath);
        destination = opened;
    }
    if (destination->isReadOnly())
        throw Error(3027,
                    QStringLiteral("Cannot update. Database or object is read-only ('%1').").arg(targetPath));
    if (!destination->tableExists(target))
        throw Error(err::TableNotFound,
                    QStringLiteral("The database engine cannot find the output table '%1' in "
                                   "'%2'.")
                        .arg(target, targetPath));
    const QStringList targetColumns = destination->columnNames(target);

    Statement read(source.handle(), sourceSelect);
    QStringList names;
    std::vector<int> sourceIndex;
    for (int i = 0; i < read.columnCount(); ++i) {
        const QString name = read.columnName(i);
        qsizetype match = -1;
        for (qsizetype k = 0; k < targetColumns.size() && match < 0; ++k)
            if (targetColumns[k].compare(name, Qt::CaseInsensitive) == 0)
                match = k;
        if (match < 0)
            throw Error(3127, QStringLiteral("The INSERT INTO statement contains the following unknown field "
                                             "name: '%1'. Table '%2' of '%3' has no such field.")
                                  .arg(name, target, targetPath));
        names << quoteName(targetColumns[match]);
        sourceIndex.push_back(i);
    }
    QStringList marks;
    for (qsizetype i = 0; i < names.size(); ++i)
        marks << QStringLiteral("?");

    sqlite3* out = destination->handle();
    exec(out, QStringLiteral("SAVEPOINT qv_copy"));
    try {
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
    } catch (...) {
        sqlite3_exec(out, "ROLLBACK TO qv_copy; RELEASE qv_copy", nullptr, nullptr, nullptr);
        throw;
    }
    exec(out, QStringLiteral("RELEASE qv_copy"));
}

} // namespace qv::store
