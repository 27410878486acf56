#pragma once

#include "standings/core/round_standings.h"

#include <QVariantList>

#include <vector>

namespace qv::standings {

// How a column's values show: texts as they are, money as "$1,234", counts as
// "1,234", percentages with their sign and one decimal ("+2.5%").
enum class CellKind { Text, Money, Count, Percent, Cents }; // Cents: money to the cent

struct TableColumn {
    QString name;
    CellKind kind = CellKind::Text;
};

// One of the three views of a round as a plain table: the window, the
// command line and the report show the same rows. Values are texts, whole
// numbers or amounts; an empty cell is an invalid QVariant.
struct StandingsTable {
    QString title;
    std::vector<TableColumn> columns;
    std::vector<QVariantList> rows;
    // What each row is about: the licence or bidder a click on it charts.
    struct RowKey {
        QString name;
        bool bidder = false;
    };
    std::vector<RowKey> keys;
    // Under the rows: "Total" and the sums of the columns that add up
    // (amounts held, bidding units); empty for a view without one.
    QVariantList totals;
};

StandingsTable licenceTable(const RoundStandings& standings);
StandingsTable bidderTable(const RoundStandings& standings);
StandingsTable changeTable(const RoundStandings& standings);
// Totals by market, then by block where the files carry [Block].
StandingsTable marketTable(const RoundStandings& standings);

QString cellText(const QVariant& value, CellKind kind);

// The totals row in a line: "Total: High Bid $1,234, Net High Bid $1,000";
// empty for a view without one.
QString totalsText(const StandingsTable& table);

} // namespace qv::standings
