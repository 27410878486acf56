#include "store/import/round_copy.h"

#include "common/error.h"
#include "store/auction_schema.h"
#include "store/import/round_import.h"

#include <QFile>

namespace qv {

void copyRoundTables(store::Database& auction, store::Database& roundDb, int round, bool deleteOldRows)
{
    for (const QString& t : suppliedTablesOf(auction)) {
        if (t == store::schema::WithdrawalStatistics)
            auction.execute(QStringLiteral("DELETE * FROM [") + t + QLatin1Char(']'));
        else if (deleteOldRows)
            auction.execute(QStringLiteral("DELETE * FROM [") + t + QStringLiteral("] WHERE [Round] = ") +
                            QString::number(round));
        roundDb.execute(QStringLiteral("INSERT INTO [") + t + QStringLiteral("] IN \"") + auction.path() +
                        QStringLiteral("\" SELECT * FROM [") + t + QLatin1Char(']'));
    }
}

AttachedRound::AttachedRound(store::Database& auction, store::Database& roundDb) : auction_(auction)
{
    if (!roundDb.isReadOnly())
        auction_.attachSource(roundDb.path());
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
