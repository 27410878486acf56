#include "store/import/round_copy.h"

#include "common/error.h"
#include "store/auction_schema.h"

#include <QFile>

namespace qv {

using store::RecordsetType;

namespace {

QStringList suppliedTables(store::Database& auction)
{
    auto rs = auction.openRecordset(QStringLiteral("SELECT TableName FROM sysSuppliedTables"),
                                    RecordsetType::Snapshot);
    QStringList tables;
    for (int row = 0; row < rs->recordCount(); ++row)
        tables << rs->at(row, 0).toString();
    return tables;
}

} // namespace

QString foreignRoundIn(store::Database& auction, store::Database& roundDb, int round)
{
    for (const QString& t : suppliedTables(auction)) {
        if (t == store::schema::WithdrawalStatistics || !roundDb.tableExists(t) ||
            !roundDb.columnNames(t).contains(QStringLiteral("Round"), Qt::CaseInsensitive))
            continue;
        auto other = roundDb.openRecordset(QStringLiteral("SELECT TOP 1 [Round] FROM [") + t +
                                               QStringLiteral("] WHERE [Round] <> ") +
                                               QString::number(round) + QStringLiteral(" OR [Round] Is Null"),
                                           RecordsetType::Snapshot);
        if (other->recordCount() > 0) {
            const QVariant r = other->at(0, 0);
            return QStringLiteral("table \"%1\" holds rows of round %2")
                .arg(t, r.isNull() ? QStringLiteral("(none)") : QString::number(r.toDouble(), 'g', 15));
        }
    }
    return {};
}

void copyRoundTables(store::Database& auction, store::Database& roundDb, int round, bool deleteOldRows)
{
    for (const QString& t : suppliedTables(auction)) {
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
