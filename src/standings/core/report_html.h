#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace qv::summary {
class SummarySheet;
}

namespace qv::standings {

struct RoundStandings;

// A chart drawn for the report, as the SVG document the drawing wrote.
struct ReportChart {
    QString caption;
    QByteArray svg;
};

// What a round report holds beyond the standings themselves.
struct ReportContents {
    QString auctionFile; // the auction database's file name
    int auction = 0;
    QString date;                                   // when the report was written, shown on each printed page
    const summary::SummarySheet* figures = nullptr; // the round summary's twenty figures
    std::vector<ReportChart> charts;
    QString chartsMissing; // why there are no charts, when there are none
    int rowsShown = 50;    // rows of each view before the rest is folded away
};

// The round report: one HTML file that needs nothing else (no network, no
// script, the charts inline as SVG), for someone without the program.
QByteArray reportHtml(const RoundStandings& standings, const ReportContents& contents);

// An SVG document made fit to sit inside HTML: without its XML declaration,
// sized by the page, its ids prefixed so that several can share a page.
QByteArray inlineSvg(const QByteArray& svg, const QString& idPrefix);

} // namespace qv::standings
