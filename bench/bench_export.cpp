// Text export of what a grid window shows: the whole "All Bids" table of the
// large auction (375,000 rows) and one round's rows, written through the
// export's own writer (temporary file, then the rename over the target),
// against the sqlite3 shell writing the same rows tab-separated.
#include "bench_support.h"

#include "common/error.h"
#include "common/safe_file.h"
#include "grid/core/tab_export.h"
#include "grid/core/table_statements.h"
#include "store/database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

using namespace qv;

namespace {

struct Case {
    const char* label;
    QString round; // empty: the whole table
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString auction = bench::largeAuction250();
    const QString out = QDir(bench::cacheFolder()).filePath(QStringLiteral("export-bench.txt"));
    try {
        auto db = store::Database::open(auction);
        const QString whole = QStringLiteral("SELECT * FROM [All Bids]");
        const QString round =
            grid::tableStatement(QStringLiteral("All Bids"), QStringLiteral("125")); // as a grid loads it
        const QString markets = QStringLiteral("SELECT * FROM [Markets]");
        for (const auto& [label, statement] :
             {std::pair{"whole All Bids", whole}, std::pair{"whole Markets", markets},
              std::pair{"All Bids, round 125", round}}) {
            std::unique_ptr<store::Recordset> rows;
            const double load =
                bench::timeIt([&] { rows = db->openRecordset(statement, store::RecordsetType::Snapshot); });
            std::vector<double> writes;
            for (int i = 0; i < 3; ++i) {
                bench::settle();
                writes.push_back(
                    bench::timeIt([&] { grid::exportTabFile(out, grid::recordsetRows(*rows)); }));
            }
            const qint64 bytes = QFile(out).size();
            // The writer alone, without the disk: formatting the cells.
            std::vector<double> formats;
            for (int i = 0; i < 3; ++i) {
                struct Discard : ByteSink {
                    void write(const char*, qsizetype) override {}
                } sink;
                formats.push_back(
                    bench::timeIt([&] { grid::writeTabText(sink, grid::recordsetRows(*rows)); }));
            }
            // Processor time of one export: the machine is shared, wall-clock times wander.
            const double cpuStart = bench::processorSeconds();
            grid::exportTabFile(out, grid::recordsetRows(*rows));
            const double cpu = bench::processorSeconds() - cpuStart;
            std::vector<double> floors;
            for (int i = 0; i < 3; ++i) {
                bench::settle();
                floors.push_back(bench::runShell(
                    auction, QStringLiteral(".headers on\n.mode tabs\n.output ") + out +
                                 QStringLiteral("\n") +
                                 QString(statement)
                                     .replace(QStringLiteral(" Order By "), QStringLiteral(" ORDER BY "))
                                     .replace(QLatin1Char('['), QLatin1Char('"'))
                                     .replace(QLatin1Char(']'), QLatin1Char('"')) +
                                 QStringLiteral(";\n")));
            }
            std::printf("%-22s %7d rows %9lld bytes: export %.4f s (median of 3), floor %.4f s, ratio %.2f; "
                        "formatting alone %.4f s; processor time of one export %.4f s; the grid's load "
                        "before it %.3f s\n",
                        label, rows->recordCount(), static_cast<long long>(bytes), bench::median(writes),
                        bench::median(floors), bench::median(writes) / bench::median(floors),
                        bench::median(formats), cpu, load);
        }
    } catch (const Error& e) {
        bench::fail(e.description());
    }
    QFile::remove(out);
    return 0;
}
