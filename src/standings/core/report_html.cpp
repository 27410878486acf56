#include "standings/core/report_html.h"

#include "standings/core/report_movers.h"
#include "standings/core/round_standings.h"
#include "standings/core/standings_tables.h"
#include "summary/core/summary_sheet.h"

#include <QRegularExpression>

#include <numeric>

namespace qv::standings {

namespace {

const char* const style = R"(
body { font-family: "DejaVu Sans", Arial, sans-serif; font-size: 14px; margin: 24px; color: #222; }
h1 { font-size: 22px; margin-bottom: 4px; }
h2 { font-size: 17px; margin-top: 28px; border-bottom: 1px solid #ccc; }
table { border-collapse: collapse; margin: 8px 0; }
th, td { border: 1px solid #ccc; padding: 3px 8px; }
th { background: #eef1f6; text-align: left; }
td { white-space: nowrap; }
td.n { text-align: right; }
table.figures td { border: none; padding: 2px 12px; }
table.figures td.l { color: #555; }
.notes { background: #fff7e0; border: 1px solid #e0c060; padding: 8px 12px; }
.warning { background: #fde8e8; border: 2px solid #c03030; padding: 4px 12px; margin: 8px 0; }
details { margin: 4px 0 12px; }
summary { cursor: pointer; color: #1f4fa0; }
figure { margin: 12px 0 24px; }
figure svg { width: 100%; max-width: 1000px; height: auto; border: 1px solid #ddd; }
figcaption { font-weight: bold; margin-bottom: 4px; }
footer { margin-top: 32px; color: #777; font-size: 12px; }
@media print {
  body { margin: 0; font-size: 11px; }
  td { white-space: normal; }
  td.n, td:first-child { white-space: nowrap; }
  details > summary { display: none; }
  details::details-content { content-visibility: visible; display: contents; }
  h1, h2, figcaption, .warning, .notes { break-after: avoid; }
  thead { display: table-header-group; }
  tr, figure, figure svg { break-inside: avoid; }
  figure svg { max-width: 100%; }
}
)";

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

// Each printed page carries the auction, the round and the date in its top
// margin. The title is made of numbers and the date is ours: nothing from a
// round file goes into the style sheet.
QString runningHeader(const QString& title, const QString& date)
{
    const QString text = date.isEmpty() ? title : title + QStringLiteral(" \u2014 ") + date;
    return QStringLiteral("@page { margin: 16mm 12mm; @top-left { content: \"") + text +
           QStringLiteral("\"; font: 10px sans-serif; color: #555; } @top-right { content: \"Page \" "
                          "counter(page) \" of \" counter(pages); font: 10px sans-serif; color: #555; } }\n");
}

QString headerRow(const StandingsTable& table)
{
    QString html = QStringLiteral("<thead><tr>");
    for (const TableColumn& column : table.columns)
        html += QStringLiteral("<th>") + escaped(column.name) + QStringLiteral("</th>");
    return html + QStringLiteral("</tr></thead>");
}

// The rows at order[from] up to order[to] of the table.
QString bodyRows(const StandingsTable& table, const std::vector<size_t>& order, size_t from, size_t to)
{
    QString html = QStringLiteral("<tbody>");
    for (size_t at = from; at < to; ++at) {
        const size_t row = order[at];
        html += QStringLiteral("<tr>");
        for (size_t c = 0; c < table.columns.size(); ++c) {
            const TableColumn& column = table.columns[c];
            const QString text = cellText(table.rows[row].value(static_cast<qsizetype>(c)), column.kind);
            html += (column.kind == CellKind::Text ? QStringLiteral("<td>")
                                                   : QStringLiteral("<td class=\"n\">")) +
                    escaped(text) + QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</tbody>");
}

std::vector<size_t> tableOrder(const StandingsTable& table)
{
    std::vector<size_t> order(table.rows.size());
    std::iota(order.begin(), order.end(), size_t{0});
    return order;
}

// The first rows on show, the rest folded away under a line that says how
// many; in print every row shows, the folded ones under the same header.
QString tableSection(const StandingsTable& table, const QString& heading, const QString& nothing, int shown,
                     const std::vector<size_t>& order)
{
    QString html = QStringLiteral("<h2>") + escaped(heading) + QStringLiteral("</h2>\n");
    if (table.rows.empty())
        return html + QStringLiteral("<p>") + escaped(nothing) + QStringLiteral("</p>\n");
    const size_t first = std::min(table.rows.size(), static_cast<size_t>(std::max(shown, 1)));
    html += QStringLiteral("<table>") + headerRow(table) + bodyRows(table, order, 0, first) +
            QStringLiteral("</table>\n");
    if (first < table.rows.size()) {
        const size_t rest = table.rows.size() - first;
        html += QStringLiteral("<details><summary>") + QString::number(rest) +
                (rest == 1 ? QStringLiteral(" more row") : QStringLiteral(" more rows")) +
                QStringLiteral("</summary><table>") + headerRow(table) +
                bodyRows(table, order, first, table.rows.size()) + QStringLiteral("</table></details>\n");
    }
    return html;
}

QVariant cell(const std::optional<double>& value)
{
    return value ? QVariant(*value) : QVariant();
}

// The licences whose price rose most, with whether they changed hands.
StandingsTable topMoversTable(const RoundStandings& standings)
{
    StandingsTable table;
    table.columns = {
        {QStringLiteral("License Name"), CellKind::Text}, {QStringLiteral("Market Name"), CellKind::Text},
        {QStringLiteral("Holder"), CellKind::Text},       {QStringLiteral("High Bid"), CellKind::Money},
        {QStringLiteral("Increase"), CellKind::Money},    {QStringLiteral("Increase %"), CellKind::Percent},
        {QStringLiteral("Change"), CellKind::Text}};
    for (size_t index : topMovers(standings, 10)) {
        const LicenseStanding& l = standings.licenses[index];
        QString change;
        if (l.now.changesHandsFrom(l.before))
            change = changeName(ChangeKind::ChangedHands);
        else if (l.before.kind == HolderKind::None && l.now.kind != HolderKind::None)
            change = changeName(ChangeKind::NewHolder);
        table.rows.push_back({l.name, l.marketName, l.holder, cell(l.gross), cell(l.increase()),
                              cell(l.increasePercent()), change});
    }
    return table;
}

QString figuresSection(const summary::SummarySheet& sheet)
{
    QString html = QStringLiteral("<h2>Round summary</h2>\n<table class=\"figures\"><tbody>\n");
    for (int row = 3; row <= summary::SummarySheet::Rows; ++row) {
        html += QStringLiteral("<tr>");
        for (int column : {1, 4}) {
            html += QStringLiteral("<td class=\"l\">") + escaped(sheet.text(column, row)) +
                    QStringLiteral("</td><td class=\"n\">") + escaped(sheet.text(column + 1, row)) +
                    QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</tbody></table>\n");
}

} // namespace

QByteArray inlineSvg(const QByteArray& svg, const QString& idPrefix)
{
    QString text = QString::fromUtf8(svg);
    const qsizetype start = text.indexOf(QStringLiteral("<svg"));
    if (start < 0)
        return {};
    text = text.mid(start);
    // The page sets the size; the view box keeps the drawing's proportions.
    const qsizetype tagEnd = text.indexOf(QLatin1Char('>'));
    QString tag = text.left(tagEnd);
    static const QRegularExpression size(QStringLiteral("\\s(width|height)=\"[^\"]*\""));
    tag.remove(size);
    text = tag + text.mid(tagEnd);
    // Ids of one drawing must not meet those of another on the same page.
    static const QRegularExpression ids(QStringLiteral("\\bid=\"([^\"]+)\""));
    static const QRegularExpression refs(QStringLiteral("(url\\(#|href=\"#)([^)\"]+)"));
    text.replace(ids, QStringLiteral("id=\"") + idPrefix + QStringLiteral("\\1\""));
    text.replace(refs, QStringLiteral("\\1") + idPrefix + QStringLiteral("\\2"));
    return text.toUtf8();
}

QByteArray reportHtml(const RoundStandings& standings, const ReportContents& contents)
{
    const QString title = QStringLiteral("Auction ") + QString::number(contents.auction) +
                          QStringLiteral(", round ") + QString::number(standings.round);
    QString html =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>") +
        escaped(title + QStringLiteral(": who is winning what")) + QStringLiteral("</title>\n<style>") +
        QLatin1String(style) + runningHeader(title, contents.date) +
        QStringLiteral("</style>\n</head>\n<body>\n");
    html += QStringLiteral("<h1>") + escaped(title) + QStringLiteral("</h1>\n");
    // Files that contradict each other come first, where the reader starts.
    for (const QString& warning : standings.warnings)
        html += QStringLiteral("<div class=\"warning\" role=\"alert\"><p><strong>Warning:</strong> ") +
                escaped(warning) + QStringLiteral("</p></div>\n");
    html += QStringLiteral("<p>") +
            escaped(QString::number(standings.licenses.size()) + QStringLiteral(" licences, ") +
                    QString::number(standings.newHighBids) + QStringLiteral(" new high bids, ") +
                    QString::number(standings.changedHands) + QStringLiteral(" changed hands, ") +
                    QString::number(standings.newHolders) + QStringLiteral(" new holders") +
                    (standings.previousRound > 0
                         ? QStringLiteral(" since round ") + QString::number(standings.previousRound)
                         : QString()) +
                    QLatin1Char('.')) +
            QStringLiteral("</p>\n");
    if (standings.notes.size() > standings.warnings.size()) {
        html += QStringLiteral("<div class=\"notes\">");
        for (const QString& note : standings.notes) {
            if (!standings.warnings.contains(note))
                html += QStringLiteral("<p>") + escaped(note) + QStringLiteral("</p>");
        }
        html += QStringLiteral("</div>\n");
    }
    if (contents.figures != nullptr)
        html += figuresSection(*contents.figures);
    const int shown = contents.rowsShown;
    const StandingsTable movers = topMoversTable(standings);
    html += tableSection(movers, QStringLiteral("Top movers"), QStringLiteral("No licence rose in price."),
                         static_cast<int>(movers.rows.size()), tableOrder(movers));
    // Licences whose price rose, changed hands or went to the agency first.
    html += tableSection(licenceTable(standings), QStringLiteral("Licences"),
                         QStringLiteral("The auction has no licences."), shown,
                         licencesMostTellingFirst(standings));
    const StandingsTable bidders = bidderTable(standings);
    html += tableSection(bidders, QStringLiteral("Bidders"), QStringLiteral("The auction has no bidders."),
                         shown, tableOrder(bidders));
    const StandingsTable changes = changeTable(standings);
    html += tableSection(changes,
                         standings.previousRound > 0 ? QStringLiteral("Changes since round ") +
                                                           QString::number(standings.previousRound)
                                                     : QStringLiteral("Changes"),
                         QStringLiteral("Nothing changed."), shown, tableOrder(changes));
    html += QStringLiteral("<h2>Charts</h2>\n");
    if (contents.charts.empty() && !contents.chartsMissing.isEmpty())
        html += QStringLiteral("<p>") + escaped(contents.chartsMissing) + QStringLiteral("</p>\n");
    int number = 0;
    for (const ReportChart& chart : contents.charts) {
        html += QStringLiteral("<figure><figcaption>") + escaped(chart.caption) +
                QStringLiteral("</figcaption>\n") +
                QString::fromUtf8(inlineSvg(chart.svg, QStringLiteral("c%1-").arg(++number))) +
                QStringLiteral("\n</figure>\n");
    }
    html += QStringLiteral("<footer>Written by Quorvane ") + QStringLiteral(QUORVANE_VERSION) +
            QStringLiteral(" from ") + escaped(contents.auctionFile) +
            QStringLiteral(".</footer>\n</body>\n</html>\n");
    return html.toUtf8();
}

} // namespace qv::standings
