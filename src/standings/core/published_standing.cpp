#include "standings/core/published_standing.h"

#include "standings/core/round_standings.h"
#include "store/database.h"
#include "summary/core/summary_formats.h"

#include <algorithm>
#include <cmath>

namespace qv::standings {

namespace {

bool differs(double a, double b)
{
    return std::fabs(a - b) > 0.005;
}

QString money(const std::optional<double>& value)
{
    return value ? summary::formatMoney(*value) : QStringLiteral("(empty)");
}

bool saysYes(const QString& text)
{
    const QString trimmed = text.trimmed();
    return trimmed.startsWith(QLatin1Char('Y'), Qt::CaseInsensitive) || trimmed == QStringLiteral("-1") ||
           trimmed == QStringLiteral("1");
}

// The bids of one round: the history holds them in round order.
std::pair<size_t, size_t> roundRange(const AuctionHistory& history, int round)
{
    const auto& bids = history.bids;
    const auto first = std::lower_bound(bids.begin(), bids.end(), round,
                                        [](const Bid& bid, int r) { return bid.round < r; });
    const auto last =
        std::upper_bound(first, bids.end(), round, [](int r, const Bid& bid) { return r < bid.round; });
    return {static_cast<size_t>(first - bids.begin()), static_cast<size_t>(last - bids.begin())};
}

// The bid the agency's high bid stands on: the named bidder's bid in [Round of
// High Bid] (of that amount where there is one), else its latest bid on the licence.
int bidNamed(const AuctionHistory& history, int license, int bidder, const MarketRow& market, int round)
{
    if (market.roundOfHighBid) {
        const auto [first, last] = roundRange(history, *market.roundOfHighBid);
        int found = -1;
        for (size_t i = first; i < last; ++i) {
            const Bid& bid = history.bids[i];
            if (bid.license != license || bid.bidder != bidder)
                continue;
            if (found < 0 || (market.highBid && bid.gross && !differs(*bid.gross, *market.highBid)))
                found = static_cast<int>(i);
        }
        if (found >= 0)
            return found;
    }
    int latest = -1;
    for (size_t i = 0; i < history.bids.size() && history.bids[i].round <= round; ++i) {
        if (history.bids[i].license == license && history.bids[i].bidder == bidder)
            latest = static_cast<int>(i);
    }
    return latest;
}

// More than one new high bid on the licence in the round of the standing bid:
// the bids alone cannot say whose stands.
QString doubledNewHighBids(const AuctionHistory& history, const Holding& held)
{
    if (!history.basis.newHighBid || held.bid < 0)
        return {};
    const Bid& standing = history.bids[static_cast<size_t>(held.bid)];
    const auto [first, last] = roundRange(history, standing.round);
    QStringList named;
    for (size_t i = first; i < last; ++i) {
        const Bid& bid = history.bids[i];
        if (bid.license == standing.license && bid.newHigh)
            named << history.bidders.name(bid.bidder) + QLatin1Char(' ') + money(bid.gross);
    }
    if (named.size() < 2)
        return {};
    return QString::number(named.size()) + QStringLiteral(" new high bids in round ") +
           QString::number(standing.round) + QStringLiteral(" (") + named.join(QStringLiteral(", ")) +
           QLatin1Char(')');
}

// Who holds the licence by the agency's word.
Holding publishedHolding(const AuctionHistory& history, const Holding& replayed, const MarketRow& market,
                         int license, int round)
{
    Holding held;
    if (!market.highBidder.isEmpty()) {
        held.kind = HolderKind::Bidder;
        held.bidder = history.bidders.find(market.highBidder);
        held.bid = replayed.kind == HolderKind::Bidder && replayed.bidder == held.bidder
                       ? replayed.bid
                       : bidNamed(history, license, held.bidder, market, round);
    } else if (market.agencyHeld) {
        held.kind = HolderKind::Agency;
        if (replayed.kind == HolderKind::Agency) {
            held.bidder = replayed.bidder;
            held.bid = replayed.bid;
        }
    }
    held.since = held.sameHolderAs(replayed) ? replayed.since : 0;
    return held;
}

QString holderOrNobody(const AuctionHistory& history, const Holding& held)
{
    const QString text = holderText(history, held);
    return text.isEmpty() ? QStringLiteral("no holder") : text;
}

} // namespace

std::vector<std::pair<int, MarketRow>> readMarkets(store::Database& database, AuctionHistory& history,
                                                   int round)
{
    std::vector<std::pair<int, MarketRow>> markets;
    if (round <= 0)
        return markets;
    const StandingsBasis& basis = history.basis;
    // Each column read only where the files carry it: a fixed name, never a file's text.
    QStringList columns = {QStringLiteral("[License Name]"), QStringLiteral("[Market Name]")};
    const auto add = [&columns](bool present, const char* name) {
        columns << (present ? QStringLiteral("[") + QLatin1String(name) + QLatin1Char(']')
                            : QStringLiteral("NULL"));
    };
    add(basis.highBid, "High Bid");
    add(basis.netHighBid, "Net High Bid");
    add(basis.published(), "High Bidder");
    add(basis.published() && basis.roundOfHighBid, "Round of High Bid");
    add(basis.published() && basis.agencyHeld, "Zelnar Held");
    add(basis.minimumAccepted, "Minimum Accepted Bid");
    add(basis.population, "Population");
    add(basis.biddingUnits, "Bidding Units");
    add(basis.block, "Block");
    const auto rows = database.openRecordset(QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) +
                                                 QStringLiteral(" FROM [Markets] WHERE [Round] = ") +
                                                 QString::number(round),
                                             store::RecordsetType::Snapshot);
    markets.reserve(static_cast<size_t>(rows->recordCount()));
    for (int row = 0; row < rows->recordCount(); ++row) {
        MarketRow market;
        market.marketName = textAt(*rows, row, 1);
        market.highBid = numberAt(*rows, row, 2);
        market.netHighBid = numberAt(*rows, row, 3);
        market.highBidder = textAt(*rows, row, 4).trimmed();
        if (!market.highBidder.isEmpty())
            history.bidders.id(market.highBidder);
        market.roundOfHighBid = roundOf(numberAt(*rows, row, 5));
        market.agencyHeld = saysYes(textAt(*rows, row, 6));
        market.minimumAccepted = numberAt(*rows, row, 7);
        market.population = numberAt(*rows, row, 8);
        market.biddingUnits = numberAt(*rows, row, 9);
        market.block = textAt(*rows, row, 10);
        markets.emplace_back(history.licenses.id(textAt(*rows, row, 0)), std::move(market));
    }
    return markets;
}

SettledStanding settleStanding(const AuctionHistory& history, int license, int round, const Holding& replayed,
                               const std::optional<MarketRow>& market)
{
    SettledStanding settled;
    settled.holding = replayed;
    if (history.basis.published() && market) {
        settled.holding = publishedHolding(history, replayed, *market, license, round);
        settled.agreesWithReplay = settled.holding.sameHolderAs(replayed);
        if (!settled.agreesWithReplay) {
            settled.checks << (market->highBidder.isEmpty()
                                   ? (market->agencyHeld
                                          ? QStringLiteral("[Zelnar Held] says the agency holds it")
                                          : QStringLiteral("[High Bidder] is empty"))
                                   : QStringLiteral("[High Bidder] is ") + market->highBidder) +
                                  QStringLiteral("; the bids give ") + holderOrNobody(history, replayed);
        }
    }
    const Holding& held = settled.holding;
    const Bid* bid = (held.kind == HolderKind::Bidder || held.kind == HolderKind::Tied) && held.bid >= 0
                         ? &history.bids[static_cast<size_t>(held.bid)]
                         : nullptr;
    const QString doubled = doubledNewHighBids(history, held.bid >= 0 ? held : replayed);
    if (!history.basis.highBid) {
        settled.gross = bid != nullptr ? bid->gross : std::nullopt;
        if (held.kind == HolderKind::Bidder && bid != nullptr)
            settled.net = bid->net;
        if (!doubled.isEmpty())
            settled.checks << doubled;
        return settled;
    }
    settled.gross = market ? market->highBid : std::nullopt;
    if (history.basis.netHighBid)
        settled.net = market ? market->netHighBid : std::nullopt;
    else if (held.kind == HolderKind::Bidder && bid != nullptr &&
             (!settled.gross || (bid->gross && !differs(*bid->gross, *settled.gross))))
        settled.net = bid->net; // the holder's bid only where it is the agency's high bid
    if (bid != nullptr) {
        if (!settled.gross)
            settled.checks << QStringLiteral("[High Bid] is empty; the holder's bid is ") + money(bid->gross);
        else if (!bid->gross || differs(*settled.gross, *bid->gross))
            settled.checks << QStringLiteral("[High Bid] ") + summary::formatMoney(*settled.gross) +
                                  QStringLiteral(" differs from the holder's bid ") + money(bid->gross);
    } else if (held.kind == HolderKind::Bidder) {
        settled.checks << QStringLiteral("no bid by ") + holderText(history, held) +
                              QStringLiteral(" on record");
    } else if (held.kind == HolderKind::None && settled.gross) {
        settled.checks << QStringLiteral("[High Bid] ") + summary::formatMoney(*settled.gross) +
                              QStringLiteral(" but no new high bid on record");
    }
    if (!doubled.isEmpty())
        settled.checks << doubled;
    return settled;
}

} // namespace qv::standings
