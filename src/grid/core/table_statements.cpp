#include "grid/core/table_statements.h"

#include "common/cell_text.h"
#include "common/error.h"
#include "common/statement_values.h"
#include "store/sql_quote.h"

namespace qv::grid {

bool isStatisticsTable(const QString& table)
{
    static const QStringList statistics = {
        QStringLiteral("Round Statistics"),         QStringLiteral("Increment Statistics"),
        QStringLiteral("Waiver Statistics"),        QStringLiteral("Withdrawal Statistics"),
        QStringLiteral("Miscellaneous Statistics"), QStringLiteral("Reduction Statistics"),
    };
    return statistics.contains(table); // exact: case and spaces count
}

QString tableOrdering(const QString& table)
{
    if (table == QLatin1String("Round Statistics") || table == QLatin1String("Increment Statistics") ||
        table == QLatin1String("Waiver Statistics"))
        return QStringLiteral(" Order By [Round]");
    if (table == QLatin1String("Withdrawal Statistics"))
        return QStringLiteral(" Order By [Withdrawal Number]");
    if (table == QLatin1String("All Bids"))
        return QStringLiteral(" Order By [Market], [Block], [Submarket]");
    if (table == QLatin1String("Markets") || table == QLatin1String("Bidders Raising Own High Bid"))
        return QStringLiteral(" Order By [License Name]");
    if (table == QLatin1String("Bidders"))
        return QStringLiteral(" Order By [Bidder]");
    if (table == QLatin1String("Bidders Who Reduced"))
        return QStringLiteral(" Order By [Bidder Who Reduced]");
    return {};
}

QString wholeTableStatement(const QString& table)
{
    return QStringLiteral("SELECT * FROM ") + store::bracketName(table);
}

QString roundStatement(const QString& table, const QString& round)
{
    // The round goes into the statement as it is: anything but a number runs none.
    if (!isRoundNumber(round))
        throw Error(err::TypeMismatch, QStringLiteral("Type mismatch"));
    return wholeTableStatement(table) + QStringLiteral(" WHERE [Round] = ") + round + tableOrdering(table);
}

QString tableStatement(const QString& table, const QString& round)
{
    if (isStatisticsTable(table))
        return wholeTableStatement(table) + tableOrdering(table);
    return roundStatement(table, round);
}

QString tableCaption(const QString& table, const QString& round, bool roundListEnabled)
{
    return roundListEnabled ? table + QStringLiteral(" - Round ") + round : table;
}

QStringList distinctValues(store::Database& database, const QString& table, const QString& column)
{
    auto rows = database.openRecordset(QStringLiteral("SELECT DISTINCT ") + store::bracketName(column) +
                                       QStringLiteral(" FROM ") + store::bracketName(table) +
                                       QStringLiteral(" ORDER BY ") + store::bracketName(column));
    QStringList values;
    values.reserve(rows->recordCount());
    for (int r = 0; r < rows->recordCount(); ++r)
        values << cellDisplay(rows->at(r, 0));
    return values;
}

namespace {

// The columns of a table's ordering, without " Order By ".
QString orderingColumns(const QString& table)
{
    static const QString keyword = QStringLiteral(" Order By ");
    const QString ordering = tableOrdering(table);
    return ordering.startsWith(keyword) ? ordering.mid(keyword.size()) : ordering;
}

// The rows of a table and round, opened by open(statement); a table that lacks
// [Round] (error 3061) opens whole with the round list off.
template <typename Load, typename Open>
Load openForRound(const QString& table, const QString& round, Open open)
{
    Load load;
    load.statement = tableStatement(table, round);
    load.roundListEnabled = !isStatisticsTable(table);
    try {
        load.rows = open(load.statement);
    } catch (const Error& error) {
        if (error.number() != err::UnknownColumn)
            throw;
        load.statement = wholeTableStatement(table);
        load.roundListEnabled = false;
        load.rows = open(load.statement);
    }
    return load;
}

} // namespace

TableLoad loadTable(store::Database& database, const QString& table, const QString& round, RowReading reading)
{
    return openForRound<TableLoad>(table, round, [&](const QString& statement) {
        if (reading == RowReading::Whole)
            return database.openRecordset(statement, store::RecordsetType::Snapshot);
        if (statement == wholeTableStatement(table))
            return database.openTableRows(table, {}, {});
        const QString condition = isStatisticsTable(table) ? QString() : QStringLiteral("[Round] = ") + round;
        return database.openTableRows(table, condition, orderingColumns(table));
    });
}

std::unique_ptr<store::Recordset> loadRound(store::Database& database, const QString& table,
                                            const QString& round)
{
    roundStatement(table, round); // a round that is no number: error 13
    return database.openTableRows(table, QStringLiteral("[Round] = ") + round, orderingColumns(table));
}

TableLoad loadWholeTable(store::Database& database, const QString& table)
{
    TableLoad load;
    load.statement = wholeTableStatement(table) + tableOrdering(table);
    load.rows = database.openRecordset(load.statement, store::RecordsetType::Snapshot);
    return load;
}

TableStream streamTable(store::Database& database, const QString& table, const QString& round)
{
    return openForRound<TableStream>(
        table, round, [&database](const QString& statement) { return database.openRowStream(statement); });
}

TableStream streamWholeTable(store::Database& database, const QString& table)
{
    TableStream load;
    load.statement = wholeTableStatement(table) + tableOrdering(table);
    load.rows = database.openRowStream(load.statement);
    return load;
}

} // namespace qv::grid
