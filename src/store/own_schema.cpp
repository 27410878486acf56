#include "store/own_schema.h"

#include "common/error.h"
#include "store/database.h"
#include "store/field_type.h"
#include "store/sql_quote.h"
#include "store/sqlite_statement.h"

namespace qv::store {

namespace {

QString textOf(const Statement& row, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row.get(), column)));
}

// True when a trigger is one of the key triggers addPrimaryKey makes, word
// for word (whatever the case). Its name may speak of another table: a rename of the table
// rewrites what the trigger is on, not its name.
bool isOwnTrigger(sqlite3* db, const QString& name, const QString& table, const QString& sql)
{
    for (const QString& event : {QStringLiteral("INSERT"), QStringLiteral("UPDATE")}) {
        if (!name.startsWith(QStringLiteral("qv_pk_null_%1:").arg(event)))
            continue;
        Statement columns(db, QStringLiteral("SELECT name FROM pragma_table_info(") + quoteText(table) +
                                  QLatin1Char(')'));
        while (columns.step()) {
            // Names as the statement that made it spelt them: any case.
            if (sql.compare(keyNullTrigger(name, event, table, textOf(columns, 0)), Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}

} // namespace

QString keyNullTriggerName(const QString& event, const QString& table)
{
    return QStringLiteral("qv_pk_null_%1:").arg(event) + table;
}

QString keyNullTrigger(const QString& name, const QString& event, const QString& table, const QString& column)
{
    return QStringLiteral("CREATE TRIGGER ") + quoteName(name) + QStringLiteral(" BEFORE ") + event +
           QStringLiteral(" ON ") + quoteName(table) + QStringLiteral(" WHEN NEW.") + quoteName(column) +
           QStringLiteral(" IS NULL BEGIN SELECT RAISE(ABORT, ") +
           quoteText(QStringLiteral("qv_null:") + column) + QStringLiteral("); END");
}

void refuseForeignSchemaObjects(sqlite3* db, const QString& path)
{
    Statement objects(db, QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master "
                                         "WHERE type IN ('trigger', 'view') ORDER BY type, name"));
    while (objects.step()) {
        const QString kind = textOf(objects, 0);
        const QString name = textOf(objects, 1);
        if (kind == QLatin1String("trigger") &&
            isOwnTrigger(db, name, textOf(objects, 2), textOf(objects, 3)))
            continue;
        throw Error(err::NotADatabase,
                    QStringLiteral("The database '%1' holds the %2 '%3', which Quorvane does not make: it "
                                   "was not opened, and nothing in it was changed. If you trust the file, "
                                   "remove the %2 with the sqlite3 shell (DROP %4 [%3];) and open it again.")
                        .arg(path, kind, name, kind.toUpper()));
    }
}

} // namespace qv::store
