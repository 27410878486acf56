#include "standings/core/standings_tables.h"

#include "summary/core/summary_formats.h"

#include <algorithm>
#include <cmath>

namespace qv::standings {

namespace {

QVariant amount(const std::optional<double>& value)
{
    return value ? QVariant(*value) : QVariant();
}

// Percentages to two decimals: the rest is noise in a table.
QVariant percent(const std::optional<double>& value)
{
    return value ? QVariant(std::round(*value * 100.0) / 100.0) : QVariant();
}

QVariant text(const QString& value)
{
    return value.isEmpty() ? QVariant() : QVariant(value);
}

// "Total" under the first column and the sums of the columns named.
void addTotals(StandingsTable& table, const QStringList& summed)
{
    table.totals = {QStringLiteral("Total")};
    for (size_t c = 1; c < table.columns.size(); ++c) {
        if (!summed.contains(table.columns[c].name)) {
            table.totals << QVariant();
            continue;
        }
        double sum = 0;
        for (const QVariantList& row : table.rows)
            sum += row.value(static_cast<qsizetype>(c)).toDouble();
        table.totals << sum;
    }
}

} // namespace

StandingsTable licenceTable(const RoundStandings& standings)
{
    StandingsTable table;
    table.title = QStringLiteral("Licences");
    table.columns = {{QStringLiteral("License Name"), CellKind::Text},
                     {QStringLiteral("Market Name"), CellKind::Text},
                     {QStringLiteral("Holder"), CellKind::Text},
                     {QStringLiteral("High Bid"), CellKind::Money},
                     {QStringLiteral("Net High Bid"), CellKind::Money},
                     {QStringLiteral("Increase"), CellKind::Money},
                     {QStringLiteral("Increase %"), CellKind::Percent},
                     {QStringLiteral("Rounds Since Changing Hands"), CellKind::Count},
                     {QStringLiteral("Bidders This Round"), CellKind::Count}};
    // The next round's figures, only where the files carry them; a licence
    // the agency holds is offered again at its minimum accepted bid.
    const StandingsBasis& basis = standings.basis;
    if (basis.withdrawals)
        table.columns.push_back({QStringLiteral("Withdrawn Bid"), CellKind::Money});
    if (basis.minimumAccepted) {
        table.columns.push_back({QStringLiteral("Minimum Accepted Bid"), CellKind::Money});
        table.columns.push_back({QStringLiteral("Next Increment"), CellKind::Money});
    }
    if (basis.population)
        table.columns.push_back({QStringLiteral("Price per Pop"), CellKind::Cents});
    if (basis.biddingUnits)
        table.columns.push_back({QStringLiteral("Bidding Units"), CellKind::Count});
    table.columns.push_back({QStringLiteral("Check"), CellKind::Text});
    for (const LicenseStanding& l : standings.licenses) {
        QVariantList row = {l.name,
                            text(l.marketName),
                            text(l.holder),
                            amount(l.gross),
                            amount(l.net),
                            amount(l.increase()),
                            percent(l.increasePercent()),
                            l.roundsSinceChange ? QVariant(*l.roundsSinceChange) : QVariant(),
                            l.biddersInRound};
        if (basis.withdrawals)
            row << amount(l.withdrawnBid);
        if (basis.minimumAccepted)
            row << amount(l.minimumAccepted) << amount(l.nextIncrement());
        if (basis.population)
            row << amount(l.pricePerPop()
                              ? std::optional<double>(std::round(*l.pricePerPop() * 100.0) / 100.0)
                              : std::nullopt);
        if (basis.biddingUnits)
            row << amount(l.biddingUnits);
        row << text(l.check);
        table.rows.push_back(std::move(row));
        table.keys.push_back({l.name, false});
    }
    addTotals(table,
              {QStringLiteral("High Bid"), QStringLiteral("Net High Bid"), QStringLiteral("Bidding Units")});
    return table;
}

StandingsTable bidderTable(const RoundStandings& standings)
{
    StandingsTable table;
    table.title = QStringLiteral("Bidders");
    table.columns = {{QStringLiteral("Bidder"), CellKind::Text},
                     {QStringLiteral("Licences Held"), CellKind::Count},
                     {QStringLiteral("High Bids Held"), CellKind::Money},
                     {QStringLiteral("Net High Bids Held"), CellKind::Money},
                     {QStringLiteral("Gained"), CellKind::Count},
                     {QStringLiteral("Lost"), CellKind::Count},
                     {QStringLiteral("Bids This Round"), CellKind::Count},
                     {QStringLiteral("Current Eligibility"), CellKind::Count}};
    // Against the eligibility: the bidding units its standing high bids hold.
    const bool units = standings.basis.biddingUnits;
    if (units)
        table.columns.push_back({QStringLiteral("Bidding Units Held"), CellKind::Count});
    table.columns.push_back({QStringLiteral("Additional Activity Required"), CellKind::Count});
    // Activity against what is required, where [Bidders] carries them.
    const StandingsBasis& basis = standings.basis;
    if (basis.activity)
        table.columns.push_back({QStringLiteral("Activity"), CellKind::Count});
    if (basis.requiredActivity)
        table.columns.push_back({QStringLiteral("Required Activity"), CellKind::Count});
    if (basis.waiversRemaining)
        table.columns.push_back({QStringLiteral("Waivers Remaining"), CellKind::Count});
    table.columns.push_back({QStringLiteral("Exposure"), CellKind::Money});
    for (const BidderStanding& b : standings.bidders) {
        QVariantList row = {b.name, b.held, b.gross, b.net, b.gained, b.lost, b.bids, amount(b.eligibility)};
        if (units)
            row << b.biddingUnitsHeld;
        row << amount(b.additionalActivity);
        if (basis.activity)
            row << amount(b.activity);
        if (basis.requiredActivity)
            row << amount(b.requiredActivity);
        if (basis.waiversRemaining)
            row << amount(b.waiversRemaining);
        row << b.exposure;
        table.rows.push_back(std::move(row));
        table.keys.push_back({b.name, true});
    }
    addTotals(table, {QStringLiteral("Licences Held"), QStringLiteral("High Bids Held"),
                      QStringLiteral("Net High Bids Held"), QStringLiteral("Gained"), QStringLiteral("Lost"),
                      QStringLiteral("Bids This Round"), QStringLiteral("Bidding Units Held"),
                      QStringLiteral("Exposure")});
    return table;
}

StandingsTable changeTable(const RoundStandings& standings)
{
    StandingsTable table;
    table.title = QStringLiteral("Changes");
    table.columns = {
        {QStringLiteral("Change"), CellKind::Text},  {QStringLiteral("Subject"), CellKind::Text},
        {QStringLiteral("From"), CellKind::Text},    {QStringLiteral("To"), CellKind::Text},
        {QStringLiteral("Amount"), CellKind::Money}, {QStringLiteral("Change %"), CellKind::Percent}};
    for (const StandingChange& c : standings.changes) {
        table.rows.push_back(
            {changeName(c.kind), c.subject, text(c.from), text(c.to), amount(c.amount), percent(c.percent)});
        table.keys.push_back(
            {c.subject, c.kind == ChangeKind::EligibilityFell || c.kind == ChangeKind::EligibilityZero});
    }
    return table;
}

StandingsTable marketTable(const RoundStandings& standings)
{
    StandingsTable table;
    table.title = QStringLiteral("Markets");
    const bool blocks = standings.basis.block;
    const bool units = standings.basis.biddingUnits;
    table.columns = {{QStringLiteral("Market Name"), CellKind::Text}};
    if (blocks)
        table.columns.push_back({QStringLiteral("Block"), CellKind::Text});
    table.columns.insert(table.columns.end(), {{QStringLiteral("Licences"), CellKind::Count},
                                               {QStringLiteral("Held"), CellKind::Count},
                                               {QStringLiteral("Held by the Agency"), CellKind::Count},
                                               {QStringLiteral("High Bid"), CellKind::Money},
                                               {QStringLiteral("Net High Bid"), CellKind::Money}});
    if (units)
        table.columns.push_back({QStringLiteral("Bidding Units"), CellKind::Count});
    // One group per market, then one per block, each in the order first met.
    struct Group {
        QString market, block;
        int licences = 0, held = 0, agency = 0;
        double gross = 0, net = 0, biddingUnits = 0;
    };
    std::vector<Group> groups;
    const auto add = [&groups](const QString& market, const QString& block, const LicenseStanding& l) {
        auto it = std::find_if(groups.begin(), groups.end(),
                               [&](const Group& g) { return g.market == market && g.block == block; });
        if (it == groups.end())
            it = groups.insert(groups.end(), Group{market, block});
        ++it->licences;
        it->held += l.now.kind == HolderKind::Bidder || l.now.kind == HolderKind::Tied ? 1 : 0;
        it->agency += l.now.kind == HolderKind::Agency ? 1 : 0;
        it->gross += l.gross.value_or(0);
        it->net += l.net.value_or(0);
        it->biddingUnits += l.biddingUnits.value_or(0);
    };
    for (const LicenseStanding& l : standings.licenses)
        add(l.marketName, QString(), l);
    if (blocks) {
        for (const LicenseStanding& l : standings.licenses)
            add(QString(), l.block.isEmpty() ? QStringLiteral("(none)") : l.block, l);
    }
    for (const Group& g : groups) {
        QVariantList row = {text(g.market)};
        if (blocks)
            row << text(g.block);
        row << g.licences << g.held << g.agency << g.gross << g.net;
        if (units)
            row << g.biddingUnits;
        table.rows.push_back(std::move(row));
        table.keys.push_back({g.market, false});
    }
    // The blocks add up to the same again: the totals are the markets'.
    StandingsTable markets = table;
    if (blocks) {
        std::erase_if(markets.rows, [](const QVariantList& row) {
            return !row.value(1).isNull() && row.value(1).isValid();
        });
    }
    addTotals(markets,
              {QStringLiteral("Licences"), QStringLiteral("Held"), QStringLiteral("Held by the Agency"),
               QStringLiteral("High Bid"), QStringLiteral("Net High Bid"), QStringLiteral("Bidding Units")});
    table.totals = markets.totals;
    return table;
}

QString totalsText(const StandingsTable& table)
{
    QStringList parts;
    for (size_t c = 1; c < table.columns.size(); ++c) {
        const QVariant value = table.totals.value(static_cast<qsizetype>(c));
        if (value.isValid())
            parts << table.columns[c].name + QLatin1Char(' ') + cellText(value, table.columns[c].kind);
    }
    return parts.isEmpty() ? QString() : QStringLiteral("Total: ") + parts.join(QStringLiteral(", "));
}

QString cellText(const QVariant& value, CellKind kind)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (kind) {
    case CellKind::Text:
        return value.toString();
    case CellKind::Money:
        return summary::formatMoney(value.toDouble());
    case CellKind::Cents:
        return QStringLiteral("$") + QString::number(value.toDouble(), 'f', 2);
    case CellKind::Count:
        return summary::formatCount(value.toDouble());
    case CellKind::Percent: {
        const double p = value.toDouble();
        return (p > 0 ? QStringLiteral("+") : QString()) + QString::number(p, 'f', 1) + QLatin1Char('%');
    }
    }
    return {};
}

} // namespace qv::standings
