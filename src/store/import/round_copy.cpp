#include "store/import/round_copy.h"

#include "common/error.h"
#include "store/auction_schema.h"
#include "store/import/round_import.h"
#include "store/row_copy.h"

#include <QFile>

namespace qv {

void copyRoundTables(store::Database& auction, store::Database& roundDb, int round, bool deleteOldRows)
{
    copyRoundTables(auction, roundDb, suppliedTablesOf(auction), round, deleteOldRows);
}

void copyRoundTables(store::Database& auction, store::Database& roundDb, const QStringList& tables, int round,
                     bool deleteOldRows)
{
    const bool attached = !auction.attachedSource().isEmpty() && auction.attachedSource() == roundDb.path();
    if (attached)
        copyRoundTables(auction, TableColumns(auction), roundDb, TableColumns(roundDb), tables, round,
                        deleteOldRows);
    else
        copyRoundTables(auction, {}, roundDb, {}, tables, round, deleteOldRows);
}

namespace {

// The round's old rows go first, and "Withdrawal Statistics" is replaced
// whole.
void clearForRound(store::Database& auction, const QString& table, int round, bool deleteOldRows)
{
    if (table == store::schema::WithdrawalStatistics)
        auction.execute(QStringLiteral("DELETE * FROM [") + table + QLatin1Char(']'));
    else if (deleteOldRows)
        auction.execute(QStringLiteral("DELETE * FROM [") + table + QStringLiteral("] WHERE [Round] = ") +
                        QString::number(round));
}

} // namespace

void copyRoundTables(store::Database& auction, const std::optional<TableColumns>& auctionColumns,
                     store::Database& roundDb, const std::optional<TableColumns>& roundColumns,
                     const QStringList& tables, int round, bool deleteOldRows)
{
    // An attached round copies straight on the auction's connection, with the
    // columns already read; a Jet round goes through its own copy.
    if (auctionColumns && roundColumns && !auction.attachedSource().isEmpty() &&
        auction.attachedSource() == roundDb.path()) {
        copyAttachedRoundTables(auction, *auctionColumns, *roundColumns, tables, round, deleteOldRows);
        return;
    }
    for (const QString& t : tables) {
        clearForRound(auction, t, round, deleteOldRows);
        roundDb.execute(QStringLiteral("INSERT INTO [") + t + QStringLiteral("] IN \"") + auction.path() +
                        QStringLiteral("\" SELECT * FROM [") + t + QLatin1Char(']'));
    }
}

void copyAttachedRoundTables(store::Database& auction, const TableColumns& auctionColumns,
                             const TableColumns& roundColumns, const QStringList& tables, int round,
                             bool deleteOldRows)
{
    for (const QString& t : tables) {
        clearForRound(auction, t, round, deleteOldRows);
        store::copyAttachedTable(t, roundColumns.names(t), auction, t, auctionColumns.names(t),
                                 auction.path());
    }
}

AttachedRound::AttachedRound(store::Database& auction, store::Database& roundDb) : auction_(auction)
{
    if (!roundDb.isReadOnly())
        auction_.attachSource(roundDb.path());
}

AttachedRound::AttachedRound(store::Database& auction, const QString& path) : auction_(auction)
{
    auction_.attachSource(path);
}

AttachedRound::~AttachedRound()
{
    try {
        auction_.detachSource();
    } catch (const Error&) {
        // Detaching only fails inside a transaction, which has ended by now.
    }
}

RemoveOnExit::~RemoveOnExit()
{
    if (!path_.isEmpty())
        QFile::remove(path_);
}

} // namespace qv
