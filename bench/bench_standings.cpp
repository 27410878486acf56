// The standings on the large auction (1,500 licences, 150 bidders, 250
// rounds): a round's three views, the charts over all the rounds (their data,
// then drawn as the report draws them), and `quorvane-cli report` as a whole
// process with its peak memory.
//
//   bench_standings [AUCTION.mdb]      (default: the cached auction 5)
#include "bench_support.h"

#include "standings/chart/standings_chart.h"
#include "standings/core/auction_history.h"
#include "standings/core/round_standings.h"
#include "standings/core/standings_charts.h"
#include "standings/core/standings_tables.h"
#include "store/database.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace qv;

namespace {

// Wall clock and processor time: on a shared machine the second shows what
// the work itself costs.
struct Timing {
    double median = 0;
    double slowest = 0;
    double processor = 0; // median
};

Timing fiveRuns(const std::function<void()>& work)
{
    std::vector<double> times;
    std::vector<double> processor;
    for (int i = 0; i < 5; ++i) {
        const double before = bench::processorSeconds();
        times.push_back(bench::timeIt(work));
        processor.push_back(bench::processorSeconds() - before);
    }
    return {bench::median(times), *std::max_element(times.begin(), times.end()), bench::median(processor)};
}

void print(const char* what, const Timing& t, const char* aim)
{
    std::printf("%-62s %7.3f s (slowest %.3f, processor %.3f)   %s\n", what, t.median, t.slowest, t.processor,
                aim);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString auction = argc > 1 ? QString::fromLocal8Bit(argv[1]) : bench::largeAuction250();
    auto database = store::Database::open(auction);
    std::printf("%s\n", qPrintable(auction));

    standings::RoundStandings last;
    for (const int round : {1, 125, 250}) {
        const Timing views = fiveRuns([&] {
            last = standings::computeRoundStandings(*database, round);
            const auto licences = standings::licenceTable(last);
            const auto bidders = standings::bidderTable(last);
            const auto changes = standings::changeTable(last);
            if (licences.rows.empty() || bidders.rows.empty())
                bench::fail(QStringLiteral("no standings"));
        });
        const QByteArray what = QByteArray("Round ") + QByteArray::number(round) + ": the three views (" +
                                QByteArray::number(static_cast<int>(last.licenses.size())) + " licences, " +
                                QByteArray::number(static_cast<int>(last.changes.size())) + " changes)";
        print(what.constData(), views, "under 0.2 s");
    }
    std::printf("Peak resident memory after the views: %.1f MiB\n",
                static_cast<double>(bench::peakResidentKiB()) / 1024.0);

    // The report's charts: the twelve highest standing bids and the twelve
    // bidders holding most, after round 250.
    QStringList licences;
    std::vector<const standings::LicenseStanding*> order;
    for (const auto& l : last.licenses)
        if (l.gross)
            order.push_back(&l);
    std::sort(order.begin(), order.end(), [](auto* a, auto* b) { return *a->gross > *b->gross; });
    for (size_t i = 0; i < 12 && i < order.size(); ++i)
        licences << order[i]->name;
    QStringList bidders;
    for (size_t i = 0; i < 12 && i < last.bidders.size(); ++i)
        bidders << last.bidders[i].name;

    std::vector<standings::StandingsChart> charts;
    const auto chartData = [&] {
        charts.clear();
        const standings::AuctionHistory history =
            standings::readHistory(*database, standings::readStandingsBasis(*database));
        charts.push_back(standings::netBidsChart(*database));
        charts.push_back(standings::pricePathChart(*database, history, licences));
        standings::BidderCharts both = standings::bidderCharts(*database, history, bidders);
        charts.push_back(std::move(both.held));
        charts.push_back(std::move(both.eligibility));
    };
    print("Charts over 250 rounds: their data (4 charts, 37 lines)", fiveRuns(chartData), "");
    qsizetype svgBytes = 0;
    print("Charts over 250 rounds: data and drawn as SVG", fiveRuns([&] {
              chartData();
              svgBytes = 0;
              for (const auto& chart : charts)
                  svgBytes += standings::drawCharts({&chart}, QSize(1200, 600), true).size();
          }),
          "under 0.5 s");
    std::printf("  (%lld bytes of SVG)\n", static_cast<long long>(svgBytes));
    std::printf("Peak resident memory after the charts: %.1f MiB\n",
                static_cast<double>(bench::peakResidentKiB()) / 1024.0);

    // The report, as a whole process: wall clock and peak memory from /usr/bin/time.
    QTemporaryDir folder;
    std::vector<double> walls;
    std::vector<double> processor;
    double peak = 0;
    qint64 size = 0;
    for (int run = 0; run < 5; ++run) {
        QProcess report;
        const QString out = folder.filePath(QStringLiteral("report.html"));
        report.start(QStringLiteral("/usr/bin/time"),
                     {QStringLiteral("-f"), QStringLiteral("%e %U %S %M"), QStringLiteral(QV_CLI_PATH),
                      QStringLiteral("report"), auction, QStringLiteral("-o"), out});
        report.waitForFinished(120000);
        const QStringList figures = QString::fromUtf8(report.readAllStandardError())
                                        .trimmed()
                                        .split(QLatin1Char('\n'))
                                        .last()
                                        .split(QLatin1Char(' '));
        if (report.exitCode() != 0 || figures.size() != 4)
            bench::fail(QStringLiteral("the report failed"));
        walls.push_back(figures[0].toDouble());
        processor.push_back(figures[1].toDouble() + figures[2].toDouble());
        peak = std::max(peak, figures[3].toDouble() / 1024.0);
        size = QFileInfo(out).size();
    }
    std::printf("%-62s %7.3f s (slowest %.3f)   under 2 s\n",
                "quorvane-cli report, round 250 (whole process)", bench::median(walls),
                *std::max_element(walls.begin(), walls.end()));
    std::printf("  processor %.2f s; peak resident memory %.1f MiB (aim under 100 MiB); %lld bytes of HTML\n",
                bench::median(processor), peak, static_cast<long long>(size));
    return 0;
}
