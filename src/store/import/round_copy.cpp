#include "store/import/round_copy.h"

#include "common/error.h"
#include "store/auction_schema.h"
#include "store/row_copy.h"
#include "store/sql_quote.h"

namespace qv {

namespace {

// The round's old rows go first, and "Withdrawal Statistics" is replaced
// whole.
void clearForRound(store::Database& auction, const QString& table, int round, bool deleteOldRows)
{
    if (table == store::schema::WithdrawalStatistics)
        auction.execute(QStringLiteral("DELETE * FROM ") + store::bracketName(table));
    else if (deleteOldRows)
        auction.execute(QStringLiteral("DELETE * FROM ") + store::bracketName(table) +
                        QStringLiteral(" WHERE [Round] = ") + QString::number(round));
}

} // namespace

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

} // namespace qv
