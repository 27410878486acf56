// How fast the grid window's sort and filter apply on the large auction (a
// whole table and one round's rows), and how fast a filter row lists the
// distinct values of a column of the whole table.
#include "bench_support.h"

#include "common/cell_text.h"
#include "common/error.h"
#include "grid/core/table_statements.h"
#include "query/core/table_actions.h"
#include "store/database.h"

#include <QFile>

#include <QTextStream>

using namespace qv;

namespace {

QTextStream out(stdout);

// Opens a set derived from base with a sort or filter, as the grid window does.
std::unique_ptr<store::Recordset> derive(store::Recordset& base, QString store::Recordset::*setting,
                                         const QString& value)
{
    base.*setting = value;
    auto derived = base.openRecordset();
    (base.*setting).clear();
    return derived;
}

// Wall-clock and processor seconds of work: on a loaded machine the
// processor time shows what the work itself costs.
std::vector<double> cpuTimes;

double timed(const std::function<void()>& work)
{
    const double start = bench::processorSeconds();
    const double wall = bench::timeIt(work);
    cpuTimes.push_back(bench::processorSeconds() - start);
    return wall;
}

void report(const QString& label, int rows, const std::vector<double>& times, double floor, double aim)
{
    const double ours = bench::median(times);
    const double cpu = bench::median(cpuTimes);
    cpuTimes.clear();
    out << label << ": " << rows << " rows, median " << ours << " s (processor " << cpu << " s) of "
        << times.size() << " (floor " << floor << " s, aim under " << aim
        << " s: " << (ours < aim ? "met" : "NOT met") << ")\n";
    out.flush();
}

void timeDerived(const QString& label, store::Recordset& base, QString store::Recordset::*setting,
                 const QString& value, int runs, const QString& auction, const QString& floorScript,
                 double aim)
{
    std::vector<double> times;
    int rows = 0;
    for (int i = 0; i < runs; ++i) {
        std::unique_ptr<store::Recordset> derived;
        times.push_back(timed([&] { derived = derive(base, setting, value); }));
        rows = derived->recordCount();
    }
    report(label, rows, times, bench::runShell(auction, floorScript), aim);
}

} // namespace

int main()
{
    try {
        const QString auction = bench::largeAuction250();
        auto db = store::Database::open(auction);
        const QString markets = QStringLiteral("Markets");
        const QString sort = query::sortSpecification(
            {{QStringLiteral("High Bidder"), true}, {QStringLiteral("High Bid"), false}});
        const QString shellSort = QStringLiteral(" ORDER BY [High Bidder], [High Bid] DESC;\n");

        // The whole table on show, as for a wizard table without [Round].
        std::unique_ptr<store::Recordset> whole =
            db->openRecordset(grid::wholeTableStatement(markets), store::RecordsetType::Snapshot);
        const QString bidder = whole->at(0, whole->fieldIndex(QStringLiteral("High Bidder"))).toString();
        const QString oneBidder =
            query::filterExpression({{QStringLiteral("High Bidder"), QStringLiteral("="), bidder}}, {});
        const QString shellBidder =
            QStringLiteral(" WHERE [High Bidder] = ") + bench::literal(bidder) + QStringLiteral(";\n");
        timeDerived(QStringLiteral("Sort whole Markets by ") + sort, *whole, &store::Recordset::sort, sort, 3,
                    auction, QStringLiteral("SELECT * FROM [Markets]") + shellSort, 1.0);
        timeDerived(QStringLiteral("Filter whole Markets by ") + oneBidder, *whole, &store::Recordset::filter,
                    oneBidder, 3, auction, QStringLiteral("SELECT * FROM [Markets]") + shellBidder, 1.0);
        const QString half = QStringLiteral("[Round] >125");
        timeDerived(QStringLiteral("Filter whole Markets by ") + half, *whole, &store::Recordset::filter,
                    half, 3, auction, QStringLiteral("SELECT * FROM [Markets] WHERE [Round] > 125;\n"), 1.0);
        whole.reset();

        // One round on show.
        const QString roundStatement = grid::tableStatement(markets, QStringLiteral("125"));
        std::unique_ptr<store::Recordset> round =
            db->openRecordset(roundStatement, store::RecordsetType::Snapshot);
        timeDerived(QStringLiteral("Sort Markets round 125"), *round, &store::Recordset::sort, sort, 5,
                    auction, QStringLiteral("SELECT * FROM [Markets] WHERE [Round] = 125") + shellSort, 0.1);
        const QString roundBidder = round->at(0, round->fieldIndex(QStringLiteral("High Bidder"))).toString();
        timeDerived(
            QStringLiteral("Filter Markets round 125"), *round, &store::Recordset::filter,
            query::filterExpression({{QStringLiteral("High Bidder"), QStringLiteral("="), roundBidder}}, {}),
            5, auction,
            QStringLiteral("SELECT * FROM [Markets] WHERE [Round] = 125 AND [High Bidder] = ") +
                bench::literal(roundBidder) + QStringLiteral(";\n"),
            0.1);

        // A filter row's value list: the distinct values of the whole table.
        for (const QString& column : {QStringLiteral("High Bidder"), QStringLiteral("High Bid")}) {
            std::vector<double> times;
            int values = 0;
            for (int i = 0; i < 5; ++i) {
                times.push_back(timed([&] {
                    auto rows = db->openRecordset(QStringLiteral("SELECT DISTINCT [") + column +
                                                  QStringLiteral("] FROM [Markets]"));
                    QStringList texts;
                    for (int r = 0; r < rows->recordCount(); ++r)
                        texts << cellDisplay(rows->at(r, 0));
                    values = static_cast<int>(texts.size());
                }));
            }
            report(QStringLiteral("Distinct values of whole Markets [") + column + QLatin1Char(']'), values,
                   times,
                   bench::runShell(auction, QStringLiteral("SELECT DISTINCT [") + column +
                                                QStringLiteral("] FROM [Markets];\n")),
                   0.3);
        }
    } catch (const Error& error) {
        bench::fail(QString::number(error.number()) + QLatin1Char(' ') + error.description());
    }
    return 0;
}
