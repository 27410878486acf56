#pragma once

#include <QString>
#include <QStringList>

namespace qv::store {

class Database;

// The auction database's own tables and the statements that create them.
namespace schema {

inline const QString WithdrawalStatistics = QStringLiteral("Withdrawal Statistics");
inline const QString RoundStatistics = QStringLiteral("Round Statistics");

// Which layout sysQueryBuilder gets: a single new auction keeps long query
// texts, a batch-built one short texts.
enum class QueryBuilderLayout { Single, Batch };

// Statements that follow the filling of sysSuppliedTables at creation, in order.
QStringList systemTableStatements(int auctionNumber, QueryBuilderLayout layout);

inline const QString CreateSuppliedTables =
    QStringLiteral("CREATE TABLE [sysSuppliedTables] ([TableName] Text)");
QString insertSuppliedTable(const QString& table);

// A table of a first round's database becomes a supplied table unless it is
// the engine's own ("MSys", "sqlite_") or a system table ("sys"); the tests
// are case-sensitive.
bool isSuppliedCandidate(const QString& table);
bool isSystemTable(const QString& table);

// The name a table built by a query is listed under in sysTables: its Into
// text trimmed, without its brackets ([My Table] gives My Table).
QString listedTableName(const QString& into);

inline const QString MarketsTable = QStringLiteral("Markets");
// The analyses join every bid to its licence's [Markets] row of the same
// round: on [Round] alone each bid's row is searched among all of its
// round's licences (35 s for a 250-round auction of 1,500 licences).
inline const QString MarketsLicenceIndex = QStringLiteral("qv_round:Markets:License Name");

// Keeps an index on [Round] of every supplied table that has the column, so
// that a round's rows are found without reading the whole table; [Markets]
// (with its licence names) gets one on [Round] and [License Name] together
// instead, and loses the [Round] index older auctions were given.
void ensureRoundIndexes(Database& db);

} // namespace schema
} // namespace qv::store
