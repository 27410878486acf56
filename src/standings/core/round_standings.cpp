#include "standings/core/round_standings.h"

#include "standings/core/published_standing.h"

#include "common/error.h"
#include "store/database.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace qv::standings {

namespace {

const QString agencyText = QStringLiteral("(agency)");

struct BidderRow {
    std::optional<double> eligibility;
    std::optional<double> additional;
    std::optional<double> activity;
    std::optional<double> required;
    std::optional<double> waivers;
};

Error notFound(const QString& what)
{
    return Error(err::ItemNotFound, what);
}

bool hasColumn(store::Database& database, const QString& table, const QString& column)
{
    return database.tableExists(table) && database.columnNames(table).contains(column, Qt::CaseInsensitive);
}

QHash<int, BidderRow> readBidders(store::Database& database, AuctionHistory& history, int round,
                                  std::vector<int>* order)
{
    QHash<int, BidderRow> bidders;
    if (round <= 0)
        return bidders;
    // Columns the files may lack are read as empty.
    const StandingsBasis& basis = history.basis;
    const auto optional = [](bool present, const char* column) {
        return present ? QStringLiteral("[") + QLatin1String(column) + QStringLiteral("]")
                       : QStringLiteral("Null");
    };
    const auto rows = database.openRecordset(
        QStringLiteral("SELECT [Bidder], [Current Eligibility], [Additional Activity Required], ") +
            optional(basis.activity, "Activity") + QStringLiteral(", ") +
            optional(basis.requiredActivity, "Required Activity") + QStringLiteral(", ") +
            optional(basis.waiversRemaining, "Waivers Remaining") +
            QStringLiteral(" FROM [Bidders] WHERE [Round] = ") + QString::number(round),
        store::RecordsetType::Snapshot);
    for (int row = 0; row < rows->recordCount(); ++row) {
        const int bidder = history.bidders.id(textAt(*rows, row, 0));
        if (order != nullptr && !bidders.contains(bidder))
            order->push_back(bidder);
        bidders.insert(bidder, {numberAt(*rows, row, 1), numberAt(*rows, row, 2), numberAt(*rows, row, 3),
                                numberAt(*rows, row, 4), numberAt(*rows, row, 5)});
    }
    return bidders;
}

// [Net Bids] of a round; nothing when the auction has no such figure.
std::optional<double> netBidsOf(store::Database& database, int round)
{
    if (round <= 0 || !hasColumn(database, QStringLiteral("Round Statistics"), QStringLiteral("Net Bids")))
        return std::nullopt;
    const auto rows = database.openRecordset(
        QStringLiteral("SELECT [Net Bids] FROM [Round Statistics] WHERE [Round] = ") + QString::number(round),
        store::RecordsetType::Snapshot);
    return rows->recordCount() > 0 ? numberAt(*rows, 0, 0) : std::nullopt;
}

// What [Round Statistics] says of withdrawals: in the round, and up to it.
struct CountedWithdrawals {
    std::optional<double> inRound;
    std::optional<double> upToRound;
};

CountedWithdrawals countedWithdrawals(store::Database& database, int round)
{
    if (!hasColumn(database, QStringLiteral("Round Statistics"), QStringLiteral("Withdrawals")))
        return {};
    const auto rows = database.openRecordset(
        QStringLiteral("SELECT [Round], [Withdrawals] FROM [Round Statistics] WHERE [Round] <= ") +
            QString::number(round),
        store::RecordsetType::Snapshot);
    CountedWithdrawals counted;
    for (int row = 0; row < rows->recordCount(); ++row) {
        const auto number = numberAt(*rows, row, 1);
        if (!number)
            continue;
        counted.upToRound = counted.upToRound.value_or(0) + *number;
        if (roundOf(numberAt(*rows, row, 0)) == round)
            counted.inRound = *number;
    }
    return counted;
}

QString plainNumber(const std::optional<double>& value)
{
    return value ? QString::number(*value, 'f', std::floor(*value) == *value ? 0 : 2) : QString();
}

} // namespace

std::optional<double> LicenseStanding::increase() const
{
    if (!gross || !grossBefore)
        return std::nullopt;
    return *gross - *grossBefore;
}

std::optional<double> LicenseStanding::nextIncrement() const
{
    if (!minimumAccepted || !gross || now.kind == HolderKind::None || now.kind == HolderKind::Agency)
        return std::nullopt;
    return *minimumAccepted - *gross;
}

std::optional<double> LicenseStanding::pricePerPop() const
{
    if (!gross || !population || *population <= 0)
        return std::nullopt;
    return *gross / *population;
}

std::optional<double> LicenseStanding::increasePercent() const
{
    if (!gross || !grossBefore || *grossBefore <= 0)
        return std::nullopt;
    return 100.0 * (*gross - *grossBefore) / *grossBefore;
}

QString changeName(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::ChangedHands:
        return QStringLiteral("Changed hands");
    case ChangeKind::NewHolder:
        return QStringLiteral("New holder");
    case ChangeKind::Withdrawn:
        return QStringLiteral("Withdrawn");
    case ChangeKind::HeldByAgency:
        return QStringLiteral("Held by the agency");
    case ChangeKind::EligibilityFell:
        return QStringLiteral("Eligibility fell");
    case ChangeKind::EligibilityZero:
        return QStringLiteral("Eligibility reached 0");
    }
    return {};
}

QString holderText(const AuctionHistory& history, const Holding& holding)
{
    switch (holding.kind) {
    case HolderKind::Bidder:
        return history.bidders.name(holding.bidder);
    case HolderKind::Agency:
        return agencyText;
    case HolderKind::Tied: {
        QStringList names;
        for (const int bidder : holding.tied)
            names << history.bidders.name(bidder);
        return names.join(QStringLiteral(" / ")) + QStringLiteral(" (tied)");
    }
    case HolderKind::None:
        break;
    }
    return {};
}

int chooseRound(store::Database& database, const QString& roundText)
{
    const std::vector<int> rounds = importedRounds(database);
    if (roundText.isEmpty()) {
        if (rounds.empty())
            throw notFound(QStringLiteral("No round has been imported."));
        return rounds.back();
    }
    bool ok = false;
    const int round = roundText.toInt(&ok);
    if (!ok || round <= 0 || !std::binary_search(rounds.begin(), rounds.end(), round))
        throw notFound(QStringLiteral("Round ") + roundText + QStringLiteral(" has not been imported."));
    return round;
}

RoundStandings computeRoundStandings(store::Database& database, int round)
{
    chooseRound(database, QString::number(round));
    AuctionHistory history = readHistory(database, readStandingsBasis(database), round);
    return computeRoundStandings(database, history, round);
}

RoundStandings computeRoundStandings(store::Database& database, AuctionHistory& history, int round)
{
    RoundStandings result;
    result.round = round;
    result.basis = history.basis;
    result.notes = history.basis.notes();
    const auto previous = std::lower_bound(history.rounds.begin(), history.rounds.end(), round);
    result.previousRound = previous == history.rounds.begin() ? 0 : *std::prev(previous);

    // Withdrawals counted by the round statistics but listed nowhere would
    // leave every withdrawn licence with the wrong holder.
    const CountedWithdrawals counted = countedWithdrawals(database, round);
    if (history.basis.withdrawals) {
        const auto listed = std::count_if(history.withdrawals.begin(), history.withdrawals.end(),
                                          [round](const Withdrawal& w) { return w.round <= round; });
        const double expected = counted.upToRound.value_or(0);
        if (listed == 0 && expected > 0)
            throw notFound(
                QStringLiteral("[Withdrawal Statistics] has no rows, but [Round Statistics] counts ") +
                plainNumber(expected) + QStringLiteral(" withdrawals up to round ") + QString::number(round) +
                QStringLiteral(": the holders cannot be worked out. Import the newest round again."));
        if (counted.upToRound && static_cast<double>(listed) != expected) {
            result.warnings
                << QStringLiteral("[Round Statistics] counts ") + plainNumber(expected) +
                       QStringLiteral(" withdrawals up to round ") + QString::number(round) +
                       QStringLiteral(", [Withdrawal Statistics] lists ") + QString::number(listed) +
                       (static_cast<double>(listed) < expected
                            ? QStringLiteral(": the withdrawal list is behind the round statistics "
                                             "(an older round imported after a newer one?), so a "
                                             "withdrawn licence may show the wrong holder. Import "
                                             "the newest round again.")
                            : QStringLiteral(": the withdrawal list and the round statistics "
                                             "disagree, so a withdrawn licence may show the wrong "
                                             "holder. Import the newest round again."));
            result.notes = result.warnings + result.notes;
        }
    }

    const auto markets = readMarkets(database, history, round);
    const auto marketsBefore = readMarkets(database, history, result.previousRound);
    std::vector<int> bidderOrder;
    const QHash<int, BidderRow> bidders = readBidders(database, history, round, &bidderOrder);
    const QHash<int, BidderRow> biddersBefore = readBidders(database, history, result.previousRound, nullptr);

    HoldingsReplay replay(history);
    replay.playTo(result.previousRound);
    std::vector<Holding> before(static_cast<size_t>(history.licenses.size()));
    for (int license = 0; license < history.licenses.size(); ++license)
        before[static_cast<size_t>(license)] = replay.holding(license);
    replay.playTo(round);

    // The round's own bids: how many bidders on each licence, how many bids by each bidder.
    std::vector<std::vector<int>> roundBidders(static_cast<size_t>(history.licenses.size()));
    std::vector<int> bidsOf(static_cast<size_t>(history.bidders.size()), 0);
    // Per bidder, per licence: the most it stood to pay in the round.
    std::vector<QHash<int, double>> exposureOf(static_cast<size_t>(history.bidders.size()));
    for (const Bid& bid : history.bids) {
        if (bid.round != round)
            continue;
        double& exposed = exposureOf[static_cast<size_t>(bid.bidder)][bid.license];
        exposed = std::max(exposed, bid.gross.value_or(0));
        auto& on = roundBidders[static_cast<size_t>(bid.license)];
        if (std::find(on.begin(), on.end(), bid.bidder) == on.end())
            on.push_back(bid.bidder);
        ++bidsOf[static_cast<size_t>(bid.bidder)];
        if (history.basis.newHighBid && bid.newHigh)
            ++result.newHighBids;
    }

    // Licences in the order of [Markets], then any only the bids name.
    std::vector<std::optional<MarketRow>> marketOf(static_cast<size_t>(history.licenses.size()));
    std::vector<std::optional<MarketRow>> marketBeforeOf(marketOf.size());
    std::vector<int> licenseOrder;
    std::vector<char> listed(marketOf.size(), 0);
    for (const auto& [license, market] : markets) {
        marketOf[static_cast<size_t>(license)] = market;
        if (!std::exchange(listed[static_cast<size_t>(license)], 1))
            licenseOrder.push_back(license);
    }
    for (const auto& [license, market] : marketsBefore)
        marketBeforeOf[static_cast<size_t>(license)] = market;
    for (int license = 0; license < history.licenses.size(); ++license) {
        if (!listed[static_cast<size_t>(license)])
            licenseOrder.push_back(license);
    }

    std::vector<BidderStanding> standingOf(static_cast<size_t>(history.bidders.size()));
    for (const int license : licenseOrder) {
        const size_t l = static_cast<size_t>(license);
        LicenseStanding standing;
        standing.name = history.licenses.name(license);
        standing.marketName = marketOf[l] ? marketOf[l]->marketName
                                          : (marketBeforeOf[l] ? marketBeforeOf[l]->marketName : QString());
        // The agency's word where it gives one; the replay of the bids is its check.
        SettledStanding settled =
            settleStanding(history, license, round, replay.holding(license), marketOf[l]);
        standing.now = settled.holding;
        standing.gross = settled.gross;
        standing.net = settled.net;
        standing.check = settled.checks.join(QStringLiteral("; "));
        if (settled.holding.kind == HolderKind::Agency && settled.holding.bid >= 0)
            standing.withdrawnBid = history.bids[static_cast<size_t>(settled.holding.bid)].gross;
        if (marketOf[l]) {
            standing.minimumAccepted = marketOf[l]->minimumAccepted;
            standing.population = marketOf[l]->population;
            standing.biddingUnits = marketOf[l]->biddingUnits;
            standing.block = marketOf[l]->block;
        }
        standing.before = before[l];
        if (result.previousRound > 0) {
            const SettledStanding then =
                settleStanding(history, license, result.previousRound, before[l], marketBeforeOf[l]);
            standing.before = then.holding;
            standing.grossBefore = then.gross;
            if (then.holding.kind == HolderKind::Bidder && then.gross) {
                double& exposed = exposureOf[static_cast<size_t>(then.holding.bidder)][license];
                exposed = std::max(exposed, *then.gross);
            }
            // Back from the agency: the increase is measured against the bid withdrawn.
            if (then.holding.kind == HolderKind::Agency && then.holding.bid >= 0)
                standing.grossBefore = history.bids[static_cast<size_t>(then.holding.bid)].gross;
        }
        standing.holder = holderText(history, standing.now);
        if (standing.now.kind != HolderKind::None && settled.agreesWithReplay)
            standing.roundsSinceChange = round - standing.now.since;
        standing.biddersInRound = static_cast<int>(roundBidders[l].size());
        if (!standing.check.isEmpty())
            ++result.checks;

        const Holding& now = standing.now;
        const Holding& then = standing.before;
        if (!history.basis.newHighBid && (now.kind == HolderKind::Bidder || now.kind == HolderKind::Tied) &&
            now.bid >= 0 && history.bids[static_cast<size_t>(now.bid)].round == round)
            ++result.newHighBids;
        if (now.kind == HolderKind::Bidder) {
            BidderStanding& holder = standingOf[static_cast<size_t>(now.bidder)];
            ++holder.held;
            holder.gross += standing.gross.value_or(0);
            holder.net += standing.net.value_or(0);
            holder.biddingUnitsHeld += standing.biddingUnits.value_or(0);
            if (!(then.kind == HolderKind::Bidder && then.bidder == now.bidder))
                ++holder.gained;
        }
        if (then.kind == HolderKind::Bidder && !(now.kind == HolderKind::Bidder && now.bidder == then.bidder))
            ++standingOf[static_cast<size_t>(then.bidder)].lost;
        if (now.changesHandsFrom(then)) {
            ++result.changedHands;
            result.changes.push_back({ChangeKind::ChangedHands, standing.name, holderText(history, then),
                                      standing.holder, standing.gross, standing.increasePercent()});
        } else if (then.kind == HolderKind::None && now.kind != HolderKind::None) {
            ++result.newHolders;
            result.changes.push_back({ChangeKind::NewHolder, standing.name, QString(), standing.holder,
                                      standing.gross, std::nullopt});
        } else if (!now.sameHolderAs(then)) {
            if (now.kind == HolderKind::Agency) {
                result.changes.push_back({ChangeKind::HeldByAgency, standing.name, holderText(history, then),
                                          standing.holder, standing.gross, std::nullopt});
            }
        }
        result.licenses.push_back(std::move(standing));
    }

    // Withdrawals of the round, with the bid each one took back.
    if (history.basis.withdrawals) {
        int inRound = 0;
        for (const Withdrawal& withdrawal : history.withdrawals) {
            if (withdrawal.round != round)
                continue;
            ++inRound;
            // The bid it took back: the withdrawer's standing bid after the round before.
            std::optional<double> amount;
            const Holding& held = before[static_cast<size_t>(withdrawal.license)];
            if (held.kind == HolderKind::Bidder && held.bidder == withdrawal.bidder) {
                amount = history.bids[static_cast<size_t>(held.bid)].gross;
            } else {
                for (const Bid& bid : history.bids) {
                    if (bid.round < round && bid.license == withdrawal.license &&
                        bid.bidder == withdrawal.bidder && (bid.newHigh || !history.basis.newHighBid))
                        amount = bid.gross;
                }
            }
            result.changes.push_back({ChangeKind::Withdrawn, history.licenses.name(withdrawal.license),
                                      history.bidders.name(withdrawal.bidder), QString(), amount,
                                      std::nullopt});
        }
        result.withdrawals = inRound;
    } else if (const std::optional<int> inRound = roundOf(counted.inRound)) {
        // A whole count that fits, as a round number does.
        result.withdrawals = *inRound;
    }

    // Bidders as [Bidders] lists them, then any only the bids name.
    std::vector<char> seen(static_cast<size_t>(history.bidders.size()), 0);
    for (int bidder = 0; bidder < history.bidders.size(); ++bidder) {
        if (!bidders.contains(bidder) && bidder < static_cast<int>(bidsOf.size()))
            bidderOrder.push_back(bidder);
    }
    for (const int bidder : bidderOrder) {
        if (std::exchange(seen[static_cast<size_t>(bidder)], 1))
            continue;
        BidderStanding standing = standingOf[static_cast<size_t>(bidder)];
        standing.name = history.bidders.name(bidder);
        standing.bids = bidder < static_cast<int>(bidsOf.size()) ? bidsOf[static_cast<size_t>(bidder)] : 0;
        const BidderRow row = bidders.value(bidder);
        standing.eligibility = row.eligibility;
        standing.additionalActivity = row.additional;
        standing.activity = row.activity;
        standing.requiredActivity = row.required;
        standing.waiversRemaining = row.waivers;
        if (bidder < static_cast<int>(exposureOf.size())) {
            for (const double exposed : std::as_const(exposureOf[static_cast<size_t>(bidder)]))
                standing.exposure += exposed;
        }
        if (biddersBefore.contains(bidder))
            standing.eligibilityBefore = biddersBefore.value(bidder).eligibility;
        if (standing.eligibility && standing.eligibilityBefore &&
            *standing.eligibility < *standing.eligibilityBefore) {
            const double was = *standing.eligibilityBefore;
            const double is = *standing.eligibility;
            result.changes.push_back(
                {is <= 0 ? ChangeKind::EligibilityZero : ChangeKind::EligibilityFell, standing.name,
                 plainNumber(was), plainNumber(is), std::nullopt,
                 was > 0 ? std::optional<double>(100.0 * (is - was) / was) : std::nullopt});
        }
        result.bidders.push_back(std::move(standing));
    }
    std::stable_sort(result.bidders.begin(), result.bidders.end(),
                     [](const BidderStanding& a, const BidderStanding& b) {
                         return a.held != b.held ? a.held > b.held : a.gross > b.gross;
                     });
    // Changes grouped by kind, each group in the order found.
    std::stable_sort(result.changes.begin(), result.changes.end(),
                     [](const StandingChange& a, const StandingChange& b) { return a.kind < b.kind; });

    result.netBids = netBidsOf(database, round);
    result.netBidsBefore = netBidsOf(database, result.previousRound);
    if (result.checks > 0)
        result.notes << QString::number(result.checks) +
                            (result.checks == 1
                                 ? QStringLiteral(" licence's standing in [Markets] disagrees")
                                 : QStringLiteral(" licences' standing in [Markets] disagree")) +
                            QStringLiteral(" with the bids (see Check).");
    return result;
}

} // namespace qv::standings
