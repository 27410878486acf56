#pragma once

#include "cli/table_output.h"

#include <QByteArray>
#include <QStringList>

#include <optional>
#include <vector>

namespace qv::standings {
struct StandingsChart;
struct StandingsTable;
} // namespace qv::standings

namespace qv::cli {

// One of the standings' views in an output format, amounts as numbers.
QString standingsTableText(const standings::StandingsTable& table, OutputFormat format);

// Lines for the person at the terminal (what the files lack, what was
// assumed), on standard error.
void noteOnStandardError(const QStringList& lines);

// Standings charts drawn by the drawing module one above the other, as SVG
// or PNG; nothing, after saying why on standard error, when they cannot be.
std::optional<QByteArray> drawStandingsCharts(const std::vector<const standings::StandingsChart*>& charts,
                                              bool svg);

} // namespace qv::cli
