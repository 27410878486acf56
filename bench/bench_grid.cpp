// How fast a grid window fills on a large auction: the rows of one round and a
// whole table, opened as a grid window opens them and painted once; then, on
// the whole table, a jump to its last row and a sort by the engine against
// the sqlite3 shell's ORDER BY of the same rows.
//
//   bench_grid [--whole] [AUCTION.mdb] [RUNS]
//
// --whole reads every row before the first paint (as grid windows did before
// they read rows on demand). Peak memory is the process's, so each way is
// measured in a process of its own.
#include "bench_support.h"

#include "grid/core/table_statements.h"
#include "grid/spread_grid.h"
#include "store/database.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScrollBar>
#include <QTextStream>

namespace {

using qv::grid::RowReading;

long residentPeakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

double seconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// Shows rows in a grid and paints it once, as a grid window's first paint.
void paint(qv::grid::SpreadGrid& grid, std::shared_ptr<const qv::store::Recordset> rows)
{
    grid.setRecordset(std::move(rows));
    grid.grab();
}

void measure(QTextStream& out, qv::store::Database& db, const QString& label, const QString& table,
             const QString& round, RowReading reading)
{
    QElapsedTimer timer;
    timer.start();
    const double processor = qv::bench::processorSeconds();
    std::shared_ptr<const qv::store::Recordset> rows;
    if (round.isEmpty())
        rows = reading == RowReading::Whole ? db.openRecordset(qv::grid::wholeTableStatement(table),
                                                               qv::store::RecordsetType::Snapshot)
                                            : db.openTableRows(table, {}, {});
    else
        rows = qv::grid::loadTable(db, table, round, reading).rows;
    const double opened = seconds(timer);
    qv::grid::SpreadGrid grid;
    grid.resize(1000, 700);
    grid.show();
    paint(grid, rows);
    out << label << ": " << rows->recordCount() << " rows, open " << opened << " s, first paint "
        << seconds(timer) << " s (processor " << qv::bench::processorSeconds() - processor << " s)\n";
    out.flush();
}

// The shell's ORDER BY of the whole table, every row written to /dev/null.
double shellSort(const QString& auction, const QString& table, const QString& order)
{
    QProcess shell;
    shell.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    shell.start(QStringLiteral("sqlite3"),
                {auction, QStringLiteral("SELECT * FROM \"%1\" ORDER BY %2;").arg(table, order)});
    shell.waitForFinished(-1);
    return seconds(timer);
}

// The whole table on show: a jump to its last row, then a sort by the engine
// (both until painted), alternated with the shell's sort of the same rows.
void measureWholeTable(QTextStream& out, const QString& auction, qv::store::Database& db, RowReading reading,
                       int runs)
{
    const QString table = QStringLiteral("Markets");
    std::shared_ptr<qv::store::Recordset> rows =
        reading == RowReading::Whole
            ? db.openRecordset(qv::grid::wholeTableStatement(table), qv::store::RecordsetType::Snapshot)
            : db.openTableRows(table, {}, {});
    qv::grid::SpreadGrid grid;
    grid.resize(1000, 700);
    grid.show();
    paint(grid, rows);
    QElapsedTimer timer;
    timer.start();
    const double processor = qv::bench::processorSeconds();
    grid.setCurrentIndex(grid.model()->index(grid.maxRows() - 1, 0));
    grid.grab();
    out << "Markets, whole: jump to the last row " << seconds(timer) << " s (processor "
        << qv::bench::processorSeconds() - processor << " s; row " << grid.rowAt(grid.height() - 40) + 1
        << " in view)\n";
    std::vector<double> ours, shell, jumps;
    for (int run = 0; run < runs; ++run) {
        timer.restart();
        rows->sort = QStringLiteral("[High Bid] DESC");
        std::shared_ptr<qv::store::Recordset> sorted(rows->openRecordset());
        rows->sort.clear();
        paint(grid, sorted);
        ours.push_back(seconds(timer));
        timer.restart();
        grid.setCurrentIndex(grid.model()->index(grid.maxRows() - 1, 0));
        grid.grab();
        jumps.push_back(seconds(timer));
        shell.push_back(shellSort(auction, table, QStringLiteral("\"High Bid\" DESC")));
    }
    const double ourSort = qv::bench::median(ours);
    const double shellMedian = qv::bench::median(shell);
    out << "Markets, whole: sort by [High Bid] DESC until painted " << ourSort << " s, then the last row "
        << qv::bench::median(jumps) << " s; sqlite3 shell ORDER BY " << shellMedian << " s; ratio "
        << ourSort / shellMedian << " (medians of " << runs << ", alternated)\n";
    out.flush();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QStringList args = app.arguments().mid(1);
    const RowReading reading =
        args.removeAll(QStringLiteral("--whole")) > 0 ? RowReading::Whole : RowReading::OnDemand;
    const QString auction = args.value(0, qv::bench::largeAuction250());
    const int runs = args.value(1, QStringLiteral("3")).toInt();
    if (!QFile::exists(auction)) {
        out << "Run bench_import first: it stores the 250-round auction at " << auction << "\n";
        return 1;
    }
    out << auction
        << (reading == RowReading::Whole ? ", every row read before the first paint\n"
                                         : ", rows read as they come into view\n");
    auto db = qv::store::Database::open(auction);
    measure(out, *db, QStringLiteral("Markets, round 125"), QStringLiteral("Markets"), QStringLiteral("125"),
            reading);
    measure(out, *db, QStringLiteral("All Bids, round 125"), QStringLiteral("All Bids"),
            QStringLiteral("125"), reading);
    measure(out, *db, QStringLiteral("Markets, whole"), QStringLiteral("Markets"), {}, reading);
    out << "peak resident after the first paints " << residentPeakKb() / 1024 << " MiB\n";
    measureWholeTable(out, auction, *db, reading, runs);
    out << "peak resident " << residentPeakKb() / 1024 << " MiB\n";
    return 0;
}
