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
#include "store/row_source.h"

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

void writeRows(ByteSink& sink, const store::Recordset& rows)
{
    store::RecordsetRows source(rows);
    grid::writeTabText(sink, source);
}

void exportRows(const QString& path, const store::Recordset& rows)
{
    SafeFile file(path);
    writeRows(file, rows);
    file.commit();
}

// The whole [Markets] exported by quorvane-cli as a whole process, against
// the sqlite3 shell writing the same rows in the same order as TSV, runs
// alternated: wall clock, processor time and peak memory, medians.
void compareProcesses(const QString& cli, const QStringList& auctions, const QString& out)
{
    for (const QString& auction : auctions) {
        const QString script = QStringLiteral(".headers on\n.mode tabs\n.output ") + out +
                               QStringLiteral("\nSELECT * FROM \"Markets\" ORDER BY \"License Name\";\n");
        const auto figures =
            bench::alternatedMedians({{QStringLiteral("export"),
                                       cli,
                                       {QStringLiteral("export"), auction, QStringLiteral("Markets"),
                                        QStringLiteral("--all"), QStringLiteral("-o"), out},
                                       {}},
                                      {QStringLiteral("shell"),
                                       QStringLiteral("sqlite3"),
                                       {QStringLiteral("-bail"), auction},
                                       script}},
                                     out + QStringLiteral(".stdout"), 5);
        std::printf("%s: whole [Markets] export -o, %lld bytes (medians of 5 alternated runs)\n"
                    "  quorvane-cli: wall %.3f s, processor %.3f s, peak %.1f MiB\n"
                    "  sqlite3 shell: wall %.3f s, processor %.3f s, peak %.1f MiB\n"
                    "  ratio: processor %.2f, wall %.2f\n",
                    qPrintable(auction), static_cast<long long>(QFile(out).size()), figures[0].wall,
                    figures[0].processor, figures[0].peakMiB, figures[1].wall, figures[1].processor,
                    figures[1].peakMiB, figures[0].processor / figures[1].processor,
                    figures[0].wall / figures[1].wall);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // --cli CLI [AUCTION...]: whole processes against the shell (the cached
    // large auction when none is given).
    const QStringList args = app.arguments().mid(1);
    if (args.size() >= 2 && args[0] == QLatin1String("--cli")) {
        const QStringList auctions = args.size() > 2 ? args.mid(2) : QStringList{bench::largeAuction250()};
        const QString written = QDir(bench::cacheFolder()).filePath(QStringLiteral("export-bench.txt"));
        compareProcesses(args[1], auctions, written);
        for (const QString& file :
             {written, written + QStringLiteral(".stdout"), written + QStringLiteral(".stdout.time")})
            QFile::remove(file);
        return 0;
    }
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
                writes.push_back(bench::timeIt([&] { exportRows(out, *rows); }));
            }
            const qint64 bytes = QFile(out).size();
            // The writer alone, without the disk: formatting the cells.
            std::vector<double> formats;
            for (int i = 0; i < 3; ++i) {
                struct Discard : ByteSink {
                    void write(const char*, qsizetype) override {}
                } sink;
                formats.push_back(bench::timeIt([&] { writeRows(sink, *rows); }));
            }
            // Processor time of one export: the machine is shared, wall-clock times wander.
            const double cpuStart = bench::processorSeconds();
            exportRows(out, *rows);
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
