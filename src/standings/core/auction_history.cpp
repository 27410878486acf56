#include "standings/core/auction_history.h"

#include "store/database.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <unordered_map>

namespace qv::standings {

namespace {

bool saysYes(const store::Recordset& rows, int row, int column)
{
    // The agency writes Y or N; a Jet yes/no field reads as -1 or 0.
    const store::CellView cell = rows.cell(row, column);
    if (cell.kind == store::CellView::Kind::Text) {
        for (const char c : cell.text)
            if (c != ' ')
                return c == 'Y' || c == 'y';
        return false;
    }
    const auto number = numberAt(rows, row, column);
    return number && *number != 0;
}

// Names numbered straight from the record set's stored texts: a licence or
// bidder name is made a QString once, not once a row.
class NameReader {
public:
    NameReader(const store::Recordset& rows, int column, NameIndex& names)
        : rows_(rows), column_(column), names_(names)
    {
    }
    int id(int row)
    {
        const store::CellView cell = rows_.cell(row, column_);
        if (cell.kind != store::CellView::Kind::Text)
            return names_.id(textAt(rows_, row, column_));
        const auto known = ids_.find(cell.text);
        if (known != ids_.end())
            return known->second;
        const int id =
            names_.id(QString::fromUtf8(cell.text.data(), static_cast<qsizetype>(cell.text.size())));
        ids_.emplace(cell.text, id);
        return id;
    }

private:
    const store::Recordset& rows_;
    int column_;
    NameIndex& names_;
    std::unordered_map<std::string_view, int> ids_; // views into the record set's texts
};

QString upTo(int lastRound, const QString& column)
{
    return lastRound > 0
               ? QStringLiteral(" WHERE [") + column + QStringLiteral("] <= ") + QString::number(lastRound)
               : QString();
}

void readBids(store::Database& database, AuctionHistory& history)
{
    QString statement =
        QStringLiteral("SELECT [Round], [License Name], [Bidder], [Gross Bid Amount], [Net Bid Amount]");
    if (history.basis.newHighBid)
        statement += QStringLiteral(", [New High Bid]");
    // The whole table in its own order: reading every row is cheaper than
    // finding most of them through the [Round] index, and later rounds are
    // left out below.
    statement += QStringLiteral(" FROM [All Bids]");
    const auto rows = database.openRecordset(statement, store::RecordsetType::Snapshot);
    history.bids.reserve(static_cast<size_t>(rows->recordCount()));
    NameReader licenses(*rows, 1, history.licenses);
    NameReader bidders(*rows, 2, history.bidders);
    for (int row = 0; row < rows->recordCount(); ++row) {
        const std::optional<int> round = roundOf(numberAt(*rows, row, 0));
        if (!round || (history.lastRound > 0 && *round > history.lastRound))
            continue;
        Bid bid;
        bid.round = *round;
        bid.license = licenses.id(row);
        bid.bidder = bidders.id(row);
        bid.gross = numberAt(*rows, row, 3);
        bid.net = numberAt(*rows, row, 4);
        bid.newHigh = history.basis.newHighBid && saysYes(*rows, row, 5);
        history.bids.push_back(bid);
    }
    // Rounds are imported in order, so the table mostly holds them so already.
    const auto byRound = [](const Bid& a, const Bid& b) { return a.round < b.round; };
    if (!std::is_sorted(history.bids.begin(), history.bids.end(), byRound))
        std::stable_sort(history.bids.begin(), history.bids.end(), byRound);
}

void readWithdrawals(store::Database& database, AuctionHistory& history)
{
    if (!history.basis.withdrawals)
        return;
    // The column's name is one of a fixed few, never a file's text.
    const QString roundColumn = history.basis.withdrawalRound;
    const auto rows = database.openRecordset(QStringLiteral("SELECT [") + roundColumn +
                                                 QStringLiteral("], [License Name], [Bidder] FROM "
                                                                "[Withdrawal Statistics]") +
                                                 upTo(history.lastRound, roundColumn),
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
