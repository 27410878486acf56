#include "standings/core/holdings_replay.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace qv::standings {

namespace {

const Holding nobody;

double grossOf(const Bid& bid)
{
    return bid.gross.value_or(-std::numeric_limits<double>::infinity());
}

} // namespace

bool Holding::sameHolderAs(const Holding& other) const
{
    if (kind != other.kind)
        return false;
    switch (kind) {
    case HolderKind::Bidder:
        return bidder == other.bidder;
    case HolderKind::Tied:
        return tied == other.tied;
    case HolderKind::None:
    case HolderKind::Agency:
        break;
    }
    return true;
}

bool Holding::changesHandsFrom(const Holding& before) const
{
    if (kind == HolderKind::None || kind == HolderKind::Agency || before.kind == HolderKind::None)
        return false;
    if (before.kind == HolderKind::Agency) // the bidder whose bid was withdrawn held it last
        return !(kind == HolderKind::Bidder && bidder == before.bidder);
    return !sameHolderAs(before);
}

HoldingsReplay::HoldingsReplay(const AuctionHistory& history) : history_(history)
{
}

const Holding& HoldingsReplay::holding(int license) const
{
    return license >= 0 && license < licenseCount() ? holdings_[static_cast<size_t>(license)] : nobody;
}

void HoldingsReplay::playTo(int round)
{
    const auto& bids = history_.bids;
    const auto& withdrawals = history_.withdrawals;
    for (;;) {
        int next = std::numeric_limits<int>::max();
        if (nextBid_ < bids.size())
            next = bids[nextBid_].round;
        if (nextWithdrawal_ < withdrawals.size())
            next = std::min(next, withdrawals[nextWithdrawal_].round);
        if (next > round)
            break;
        playRound(next);
    }
    round_ = std::max(round_, round);
}

void HoldingsReplay::take(int license, Holding next, int round)
{
    Holding& held = holdings_[static_cast<size_t>(license)];
    const bool first = held.kind == HolderKind::None && next.kind != HolderKind::None;
    next.since = first || next.changesHandsFrom(held) ? round : held.since;
    held = std::move(next);
}

void HoldingsReplay::withdraw(const Withdrawal& withdrawal, int round)
{
    // Only the holder's own standing bid, made before the withdrawal's round.
    Holding& held = holdings_[static_cast<size_t>(withdrawal.license)];
    if (held.kind != HolderKind::Bidder || held.bidder != withdrawal.bidder ||
        history_.bids[static_cast<size_t>(held.bid)].round >= round)
        return;
    Holding agency = held;
    agency.kind = HolderKind::Agency;
    take(withdrawal.license, std::move(agency), round);
    // The withdrawn bid no longer stands: whatever is bid next takes the licence.
    highest_[static_cast<size_t>(withdrawal.license)] = -std::numeric_limits<double>::infinity();
}

void HoldingsReplay::playRound(int round)
{
    const auto& bids = history_.bids;
    const size_t licenses = static_cast<size_t>(history_.licenses.size());
    holdings_.resize(licenses);
    highest_.resize(licenses, -std::numeric_limits<double>::infinity());
    roundBest_.resize(licenses, -1);
    roundTied_.resize(licenses);

    const bool byNewHighBid = history_.basis.newHighBid;
    // Withdrawals before the round's bids: a bid in the round of a withdrawal takes the licence.
    if (history_.basis.appliesWithdrawals()) {
        for (; nextWithdrawal_ < history_.withdrawals.size() &&
               history_.withdrawals[nextWithdrawal_].round == round;
             ++nextWithdrawal_)
            withdraw(history_.withdrawals[nextWithdrawal_], round);
    }
    while (nextWithdrawal_ < history_.withdrawals.size() &&
           history_.withdrawals[nextWithdrawal_].round <= round)
        ++nextWithdrawal_;

    // The round's best bid on each licence: the highest new high bid (or the
    // highest bid), the first one read of equal amounts; without [New High
    // Bid] also every bidder who bid that amount.
    std::vector<int> touched;
    for (; nextBid_ < bids.size() && bids[nextBid_].round == round; ++nextBid_) {
        const Bid& bid = bids[nextBid_];
        if (byNewHighBid && !bid.newHigh)
            continue;
        const size_t l = static_cast<size_t>(bid.license);
        int& best = roundBest_[l];
        std::vector<int>& tied = roundTied_[l];
        if (best < 0)
            touched.push_back(bid.license);
        if (best < 0 || grossOf(bid) > grossOf(bids[static_cast<size_t>(best)])) {
            best = static_cast<int>(nextBid_);
            tied.assign(1, bid.bidder);
        } else if (grossOf(bid) == grossOf(bids[static_cast<size_t>(best)]) &&
                   std::find(tied.begin(), tied.end(), bid.bidder) == tied.end()) {
            tied.push_back(bid.bidder);
        }
    }
    for (const int license : touched) {
        const size_t l = static_cast<size_t>(license);
        const int best = std::exchange(roundBest_[l], -1);
        std::vector<int> tied = std::exchange(roundTied_[l], {});
        const Bid& top = bids[static_cast<size_t>(best)];
        Holding next;
        next.kind = HolderKind::Bidder;
        next.bidder = top.bidder;
        next.bid = best;
        if (!byNewHighBid) {
            // A later bid of the same amount leaves the licence where it is.
            if (holdings_[l].kind != HolderKind::None && grossOf(top) <= highest_[l])
                continue;
            highest_[l] = grossOf(top);
            if (tied.size() > 1) {
                next.kind = HolderKind::Tied;
                next.tied = std::move(tied);
            }
        }
        take(license, std::move(next), round);
    }
}

} // namespace qv::standings
