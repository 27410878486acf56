#include "cli/standings_output.h"

#include "cli/draw_module_loader.h"
#include "standings/core/standings_tables.h"

#include <QTextStream>

namespace qv::cli {

QString standingsTableText(const standings::StandingsTable& table, OutputFormat format)
{
    ByteBuffer out;
    TableWriter writer(out, format);
    QStringList names;
    for (const standings::TableColumn& column : table.columns)
        names << column.name;
    writer.header(names);
    for (const QVariantList& row : table.rows)
        writer.row(row);
    // JSON lists the licences or bidders alone: a reader sums them itself.
    if (format != OutputFormat::Json && !table.totals.isEmpty())
        writer.row(table.totals);
    writer.finish();
    return QString::fromUtf8(out.bytes);
}

void noteOnStandardError(const QStringList& lines)
{
    QTextStream err(stderr);
    for (const QString& line : lines)
        err << line << '\n';
}

std::optional<QByteArray> drawStandingsCharts(const std::vector<const standings::StandingsChart*>& charts,
                                              bool svg)
{
    const DrawModule* module = drawModule();
    if (!module) {
        reportNoDrawModule();
        return std::nullopt;
    }
    if (!module->standings) {
        QTextStream(stderr) << "This build has no charts\n";
        return std::nullopt;
    }
    QByteArray bytes;
    if (!module->standings(charts.data(), static_cast<int>(charts.size()), svg ? 1 : 0, &bytes)) {
        QTextStream(stderr) << "The chart could not be drawn\n";
        return std::nullopt;
    }
    return bytes;
}

} // namespace qv::cli
