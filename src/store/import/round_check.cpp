#include "store/import/round_check.h"

#include "store/auction_schema.h"
#include "store/field_type.h"
#include "store/import/used_columns.h"
#include "store/sql_quote.h"
#include "store/sqlite_statement.h"

#include <sqlite3.h>

#include <cmath>
#include <optional>

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

// What one pass over the numeric columns of a round database's table finds:
// the first text that is not a number (its column and value), and the first
// [Round] that is not the round (as text, "(none)" when empty).
struct NumberScan {
    QStringList text;
    bool infinite = false; // text[1] is then a number past every finite one
    QString otherRound;
};

// The scan stops at the first text; [Round] is only looked at when round is
// given.
NumberScan scanNumbers(const RoundTables& roundDb, const TableColumns& roundColumns, const QString& table,
                       const QStringList& wanted, std::optional<int> round)
{
    QStringList present;
    int roundAt = -1;
    for (const QString& c : roundColumns.names(table)) {
        const bool isRound = c.compare(RoundColumn, Qt::CaseInsensitive) == 0;
        if (isRound && round)
            roundAt = static_cast<int>(present.size());
        if ((isRound && round) || wanted.contains(c, Qt::CaseInsensitive))
            present << c;
    }
    if (present.isEmpty())
        return {};
    QStringList select;
    for (const QString& c : present)
        select << quoteName(c);
    // The values are looked at here rather than with typeof() or a
    // comparison in a WHERE: one pass over the rows serves both checks, and a
    // function call per value costs more than copying the round's rows.
    store::Statement rows(roundDb.connection, QStringLiteral("SELECT ") + select.join(QStringLiteral(", ")) +
                                                  QStringLiteral(" FROM ") + qualified(roundDb, table));
    sqlite3_stmt* row = rows.get();
    const int count = static_cast<int>(present.size());
    NumberScan found;
    while (rows.step()) {
        for (int i = 0; i < count; ++i) {
            const int type = sqlite3_column_type(row, i);
            // 9e999 is stored as infinity (the engine keeps no NaN).
            if (type == SQLITE_FLOAT && !std::isfinite(sqlite3_column_double(row, i))) {
                found.text = {present[i],
                              QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row, i)))};
                found.infinite = true;
                return found;
            }
            if (type != SQLITE_TEXT)
                continue;
            const QString value =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row, i)));
            if (!looksNumeric(value)) {
                found.text = {present[i], value};
                return found;
            }
        }
        if (roundAt < 0 || !found.otherRound.isEmpty())
            continue;
        if (sqlite3_column_type(row, roundAt) == SQLITE_NULL)
            found.otherRound = QStringLiteral("(none)");
        else if (const double value = sqlite3_column_double(row, roundAt); value != *round)
            found.otherRound = QString::number(value, 'g', 15);
    }
    return found;
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
        const QStringList present = roundColumns.names(t);
        for (const QString& c : usedColumnsOf(t))
            if (!present.contains(c, Qt::CaseInsensitive))
                return cannotTake(fileName, QStringLiteral("table \"%1\" has no column \"%2\", which this "
                                                           "program reads")
                                                .arg(t, c));
    }
    // Text where a number belongs is told before a row of another round,
    // whichever table holds either.
    QString otherRound;
    for (const QString& t : supplied) {
        if (!roundColumns.hasTable(t))
            continue;
        const bool hasRounds = t != store::schema::WithdrawalStatistics;
        const NumberScan scan = scanNumbers(roundDb, roundColumns, t, numericColumns(typesFrom, t),
                                            hasRounds ? std::optional(round) : std::nullopt);
        if (scan.infinite)
            return cannotTake(fileName, QStringLiteral("column \"%1\" of table \"%2\" holds %3, a number "
                                                       "too large to be a real value")
                                            .arg(scan.text[0], t, scan.text[1]));
        if (!scan.text.isEmpty())
            return cannotTake(fileName, QStringLiteral("column \"%1\" of table \"%2\" holds the text '%3' "
                                                       "where a number belongs")
                                            .arg(scan.text[0], t, scan.text[1]));
        if (otherRound.isEmpty() && !scan.otherRound.isEmpty())
            otherRound = QStringLiteral("The round results file ") + fileName +
                         QStringLiteral(" does not hold round ") + QString::number(round) +
                         QStringLiteral(" alone: ") +
                         QStringLiteral("table \"%1\" holds rows of round %2").arg(t, scan.otherRound);
    }
    return otherRound;
}

} // namespace qv
