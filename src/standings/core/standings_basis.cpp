#include "standings/core/standings_basis.h"

#include "store/database.h"

namespace qv::standings {

namespace {

// The columns of those that a table lacks (all of them when the table is absent).
QStringList lacking(store::Database& database, const QString& table, const QStringList& wanted)
{
    const QStringList present = database.tableExists(table) ? database.columnNames(table) : QStringList();
    QStringList missing;
    for (const QString& column : wanted) {
        if (!present.contains(column, Qt::CaseInsensitive))
            missing << column;
    }
    return missing;
}

QString named(const QStringList& columns, const QString& table)
{
    QStringList bracketed;
    for (const QString& column : columns)
        bracketed << QLatin1Char('[') + column + QLatin1Char(']');
    return bracketed.join(QStringLiteral(", ")) + QStringLiteral(" (") + table + QLatin1Char(')');
}

} // namespace

const QStringList& withdrawalRoundNames()
{
    // The agency's own files say [Round]; others spell it out.
    static const QStringList names = {QStringLiteral("Withdrawal Round"), QStringLiteral("Round Withdrawn"),
                                      QStringLiteral("Round")};
    return names;
}

StandingsBasis readStandingsBasis(store::Database& database)
{
    StandingsBasis basis;
    const QStringList bids = lacking(database, QStringLiteral("All Bids"), {QStringLiteral("New High Bid")});
    const QStringList markets = lacking(database, QStringLiteral("Markets"), {QStringLiteral("High Bid")});
    const QString withdrawalTable = QStringLiteral("Withdrawal Statistics");
    QStringList withdrawals =
        lacking(database, withdrawalTable, {QStringLiteral("License Name"), QStringLiteral("Bidder")});
    const QStringList roundNames = withdrawalRoundNames();
    for (const QString& name : roundNames) {
        if (lacking(database, withdrawalTable, {name}).isEmpty()) {
            basis.withdrawalRound = name;
            break;
        }
    }
    if (basis.withdrawalRound.isEmpty())
        withdrawals.prepend(roundNames.first());
    const QStringList marketColumns = database.tableExists(QStringLiteral("Markets"))
                                          ? database.columnNames(QStringLiteral("Markets"))
                                          : QStringList();
    const auto inMarkets = [&](const char* column) {
        return marketColumns.contains(QLatin1String(column), Qt::CaseInsensitive);
    };
    basis.highBidder = inMarkets("High Bidder");
    basis.netHighBid = inMarkets("Net High Bid");
    basis.roundOfHighBid = inMarkets("Round of High Bid");
    basis.agencyHeld = inMarkets("Zelnar Held");
    basis.minimumAccepted = inMarkets("Minimum Accepted Bid");
    basis.population = inMarkets("Population");
    basis.biddingUnits = inMarkets("Bidding Units");
    basis.block = inMarkets("Block");
    const QStringList bidderColumns = database.tableExists(QStringLiteral("Bidders"))
                                          ? database.columnNames(QStringLiteral("Bidders"))
                                          : QStringList();
    const auto inBidders = [&](const char* column) {
        return bidderColumns.contains(QLatin1String(column), Qt::CaseInsensitive);
    };
    basis.activity = inBidders("Activity");
    basis.requiredActivity = inBidders("Required Activity");
    basis.waiversRemaining = inBidders("Waivers Remaining");
    basis.newHighBid = bids.isEmpty();
    basis.highBid = markets.isEmpty();
    basis.withdrawals = withdrawals.isEmpty();
    if (!bids.isEmpty())
        basis.missing << named(bids, QStringLiteral("All Bids"));
    if (!markets.isEmpty())
        basis.missing << named(markets, QStringLiteral("Markets"));
    if (!withdrawals.isEmpty())
        basis.missing << named(withdrawals, QStringLiteral("Withdrawal Statistics"));
    return basis;
}

QStringList StandingsBasis::notes() const
{
    QStringList notes;
    int next = 0;
    if (!newHighBid)
        notes << QStringLiteral("The auction's files lack ") + missing.value(next++) +
                     QStringLiteral(
                         ": each licence is taken as held by the bidder of its highest gross bid so "
                         "far (the earliest bid at that amount; bidders who bid it in the same "
                         "round are shown as tied); after a withdrawal, the highest bid made after it, "
                         "whatever its amount.");
    if (!highBid)
        notes << QStringLiteral("The auction's files lack ") + missing.value(next++) +
                     QStringLiteral(": the standing high bid is the holder's own bid amount, not checked "
                                    "against the agency's.");
    if (!withdrawals)
        notes << QStringLiteral("The auction's files lack ") + missing.value(next++) +
                     QStringLiteral(": withdrawals are not applied, so a withdrawn high bid still counts for "
                                    "its bidder.");
    return notes;
}

} // namespace qv::standings
