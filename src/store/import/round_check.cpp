#include "store/import/round_check.h"

#include "store/auction_schema.h"
#include "store/field_type.h"
#include "store/sqlite_statement.h"

#include <sqlite3.h>

namespace qv {

using store::FieldType;
using store::quoteName;

namespace {

const QString RoundColumn = QStringLiteral("Round");

QString cannotTake(const QString& fileName, const QString& why)
{
    return QStringLiteral("The round results file ") + fileName + QStringLiteral(" cannot be imported: ") +
           why;
}

bool isNumeric(FieldType type)
{
    return type == FieldType::Integer || type == FieldType::Double || type == FieldType::Currency ||
           type == FieldType::Boolean;
}

// The columns of table whose values must be numbers: those declared with a
// numeric type in typesFrom, and [Round] always.
QStringList numericColumns(const TableColumns& typesFrom, const QString& table)
{
    QStringList columns;
    const QStringList names = typesFrom.names(table);
    const QStringList types = typesFrom.types(table);
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        const QString& type = types[i];
        if (name.compare(RoundColumn, Qt::CaseInsensitive) == 0 ||
            (!type.trimmed().isEmpty() && isNumeric(store::fieldTypeOf(type))))
            columns << name;
    }
    return columns;
}

QString qualified(const RoundTables& roundDb, const QString& table)
{
    return quoteName(roundDb.schema) + QLatin1Char('.') + quoteName(table);
}

bool looksNumeric(const QString& text)
{
    bool ok = false;
    text.trimmed().toDouble(&ok);
    return ok;
}

// The first text that is not a number in one of columns of the round
// database's table: its column and value, or nothing.
QStringList textInNumbers(const RoundTables& roundDb, const TableColumns& roundColumns, const QString& table,
                          const QStringList& wanted)
{
    QStringList present;
    for (const QString& c : roundColumns.names(table))
        if (wanted.contains(c, Qt::CaseInsensitive))
            present << c;
    if (present.isEmpty())
        return {};
    QStringList select;
    for (const QString& c : present)
        select << quoteName(c);
    // The types are looked at here rather than with typeof() in a WHERE: a
    // function call per value costs more than copying the round's rows.
    store::Statement rows(roundDb.connection, QStringLiteral("SELECT ") + select.join(QStringLiteral(", ")) +
                                                  QStringLiteral(" FROM ") + qualified(roundDb, table));
    const int count = static_cast<int>(present.size());
    while (rows.step()) {
        for (int i = 0; i < count; ++i) {
            if (sqlite3_column_type(rows.get(), i) != SQLITE_TEXT)
                continue;
            const QString value =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(rows.get(), i)));
            if (!looksNumeric(value))
                return {present[i], value};
        }
    }
    return {};
}

// The first [Round] value that is not the round, as text, or empty.
QString otherRound(const RoundTables& roundDb, const QString& table, int round)
{
    store::Statement other(roundDb.connection,
                           QStringLiteral("SELECT \"Round\" FROM ") + qualified(roundDb, table) +
                               QStringLiteral(" WHERE \"Round\" IS NULL OR \"Round\" <> ") +
                               QString::number(round) + QStringLiteral(" LIMIT 1"));
    if (!other.step())
        return {};
    if (sqlite3_column_type(other.get(), 0) == SQLITE_NULL)
        return QStringLiteral("(none)");
    return QString::number(sqlite3_column_double(other.get(), 0), 'g', 15);
}

} // namespace

QString tableNameProblem(const QString& table, const QString& fileName)
{
    if (table.contains(QLatin1Char('[')) || table.contains(QLatin1Char(']')))
        return cannotTake(fileName, QStringLiteral("the name of table \"%1\" holds a bracket, which no "
                                                   "table name may hold")
                                        .arg(table));
    return {};
}

QString roundFileProblem(store::Database& typesFrom, const QStringList& supplied, store::Database& roundDb,
                         int round, const QString& fileName)
{
    const TableColumns roundColumns(roundDb);
    const RoundTables tables{roundDb.handle(), QStringLiteral("main")};
    if (&typesFrom == &roundDb)
        return roundFileProblem(roundColumns, supplied, tables, roundColumns, round, fileName);
    return roundFileProblem(TableColumns(typesFrom), supplied, tables, roundColumns, round, fileName);
}

QString roundFileProblem(const TableColumns& typesFrom, const QStringList& supplied,
                         const RoundTables& roundDb, const TableColumns& roundColumns, int round,
                         const QString& fileName)
{
    for (const QString& t : supplied) {
        if (t == store::schema::WithdrawalStatistics || !roundColumns.hasTable(t))
            continue;
        if (!roundColumns.names(t).contains(RoundColumn, Qt::CaseInsensitive))
            return cannotTake(fileName, QStringLiteral("table \"%1\" has no Round column").arg(t));
    }
    for (const QString& t : supplied) {
        if (!roundColumns.hasTable(t))
            continue;
        const QStringList text = textInNumbers(roundDb, roundColumns, t, numericColumns(typesFrom, t));
        if (!text.isEmpty())
            return cannotTake(fileName, QStringLiteral("column \"%1\" of table \"%2\" holds the text '%3' "
                                                       "where a number belongs")
                                            .arg(text[0], t, text[1]));
    }
    for (const QString& t : supplied) {
        if (t == store::schema::WithdrawalStatistics || !roundColumns.hasTable(t))
            continue;
        const QString other = otherRound(roundDb, t, round);
        if (!other.isEmpty())
            return QStringLiteral("The round results file ") + fileName +
                   QStringLiteral(" does not hold round ") + QString::number(round) +
                   QStringLiteral(" alone: ") +
                   QStringLiteral("table \"%1\" holds rows of round %2").arg(t, other);
    }
    return {};
}

} // namespace qv
