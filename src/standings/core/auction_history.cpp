#include "standings/core/auction_history.h"

#include "store/database.h"

#include <algorithm>
#include <cmath>

namespace qv::standings {

namespace {

bool saysYes(const store::Recordset& rows, int row, int column)
{
    // The agency writes Y or N; a Jet yes/no field reads as -1 or 0.
    if (const auto number = numberAt(rows, row, column))
        return *number != 0;
    return textAt(rows, row, column).trimmed().startsWith(QLatin1Char('Y'), Qt::CaseInsensitive);
}

QString upTo(int lastRound, const char* column)
{
    return lastRound > 0 ? QStringLiteral(" WHERE [") + QLatin1String(column) + QStringLiteral("] <= ") +
                               QString::number(lastRound)
                         : QString();
}

void readBids(store::Database& database, AuctionHistory& history)
{
    QString statement =
        QStringLiteral("SELECT [Round], [License Name], [Bidder], [Gross Bid Amount], [Net Bid Amount]");
    if (history.basis.newHighBid)
        statement += QStringLiteral(", [New High Bid]");
    statement += QStringLiteral(" FROM [All Bids]") + upTo(history.lastRound, "Round");
    const auto rows = database.openRecordset(statement, store::RecordsetType::Snapshot);
    history.bids.reserve(static_cast<size_t>(rows->recordCount()));
    for (int row = 0; row < rows->recordCount(); ++row) {
        const std::optional<int> round = roundOf(numberAt(*rows, row, 0));
        if (!round)
            continue;
        Bid bid;
        bid.round = *round;
        bid.license = history.licenses.id(textAt(*rows, row, 1));
        bid.bidder = history.bidders.id(textAt(*rows, row, 2));
        bid.gross = numberAt(*rows, row, 3);
        bid.net = numberAt(*rows, row, 4);
        bid.newHigh = history.basis.newHighBid && saysYes(*rows, row, 5);
        history.bids.push_back(bid);
    }
    std::stable_sort(history.bids.begin(), history.bids.end(),
                     [](const Bid& a, const Bid& b) { return a.round < b.round; });
}

void readWithdrawals(store::Database& database, AuctionHistory& history)
{
    if (!history.basis.withdrawals)
        return;
    const auto rows = database.openRecordset(
        QStringLiteral("SELECT [Withdrawal Round], [License Name], [Bidder] FROM [Withdrawal Statistics]") +
            upTo(history.lastRound, "Withdrawal Round"),
        store::RecordsetType::Snapshot);
    for (int row = 0; row < rows->recordCount(); ++row) {
        const std::optional<int> round = roundOf(numberAt(*rows, row, 0));
        if (!round)
            continue;
        history.withdrawals.push_back(
            {*round, history.licenses.id(textAt(*rows, row, 1)), history.bidders.id(textAt(*rows, row, 2))});
    }
    std::stable_sort(history.withdrawals.begin(), history.withdrawals.end(),
                     [](const Withdrawal& a, const Withdrawal& b) { return a.round < b.round; });
}

} // namespace

std::optional<int> roundOf(std::optional<double> value)
{
    if (!value || !std::isfinite(*value) || *value < 0 || *value > 1e9 || std::floor(*value) != *value)
        return std::nullopt;
    return static_cast<int>(*value);
}

std::vector<int> importedRounds(store::Database& database)
{
    const auto rows = database.openRecordset(QStringLiteral("SELECT [Round] FROM [sysRounds]"),
                                             store::RecordsetType::Snapshot);
    std::vector<int> rounds;
    for (int row = 0; row < rows->recordCount(); ++row) {
        if (const auto round = roundOf(numberAt(*rows, row, 0)))
            rounds.push_back(*round);
    }
    std::sort(rounds.begin(), rounds.end());
    rounds.erase(std::unique(rounds.begin(), rounds.end()), rounds.end());
    return rounds;
}

AuctionHistory readHistory(store::Database& database, const StandingsBasis& basis, int lastRound)
{
    AuctionHistory history;
    history.basis = basis;
    history.rounds = importedRounds(database);
    if (lastRound <= 0)
        lastRound = history.rounds.empty() ? 0 : history.rounds.back();
    history.lastRound = lastRound;
    std::erase_if(history.rounds, [lastRound](int round) { return round > lastRound; });
    readBids(database, history);
    readWithdrawals(database, history);
    return history;
}

} // namespace qv::standings
