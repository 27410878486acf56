#include "standings/core/round_line.h"

#include "standings/core/round_standings.h"
#include "summary/core/summary_formats.h"

namespace qv::standings {

namespace {

QString counted(int count, const char* one, const char* many)
{
    return QString::number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}

} // namespace

QString roundLine(const RoundStandings& standings)
{
    QStringList parts;
    parts << counted(standings.newHighBids, "new high bid", "new high bids");
    parts << counted(standings.changedHands, "licence changed hands", "licences changed hands");
    if (standings.newHolders > 0)
        parts << counted(standings.newHolders, "new holder", "new holders");
    if (standings.withdrawals)
        parts << counted(*standings.withdrawals, "withdrawal", "withdrawals");
    if (standings.netBids) {
        QString net = QStringLiteral("net bids ") + summary::formatMoney(*standings.netBids);
        if (standings.netBidsBefore && *standings.netBidsBefore > 0) {
            const double change =
                100.0 * (*standings.netBids - *standings.netBidsBefore) / *standings.netBidsBefore;
            net += QStringLiteral(" (") + (change >= 0 ? QStringLiteral("+") : QString()) +
                   QString::number(change, 'f', 1) + QStringLiteral("%)");
        }
        parts << net;
    }
    return QStringLiteral("Round ") + QString::number(standings.round) + QStringLiteral(": ") +
           parts.join(QStringLiteral(", "));
}

} // namespace qv::standings
