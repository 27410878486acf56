// How fast a grid window fills on the large auction: the rows of one round
// and a whole table, loaded into the grid's model and painted once.
#include "bench_support.h"

#include "grid/core/table_statements.h"
#include "grid/spread_grid.h"
#include "store/database.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

namespace {

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

void measure(QTextStream& out, qv::store::Database& db, const QString& label, const QString& statement)
{
    QElapsedTimer timer;
    timer.start();
    std::shared_ptr<const qv::store::Recordset> rows(
        db.openRecordset(statement, qv::store::RecordsetType::Snapshot));
    const double opened = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    qv::grid::SpreadGrid grid;
    grid.resize(1000, 700);
    grid.setRecordset(rows);
    grid.show();
    grid.grab(); // the first paint
    const double painted = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    out << label << ": " << rows->recordCount() << " rows, open " << opened << " s, first paint " << painted
        << " s, peak resident " << residentPeakKb() / 1024 << " MiB\n";
    out.flush();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QString auction = qv::bench::largeAuction250();
    if (!QFile::exists(auction)) {
        out << "Run bench_import first: it stores the 250-round auction at " << auction << "\n";
        return 1;
    }
    auto db = qv::store::Database::open(auction);
    // The statements a grid window runs for these tables.
    measure(out, *db, QStringLiteral("Markets, round 125"),
            qv::grid::tableStatement(QStringLiteral("Markets"), QStringLiteral("125")));
    measure(out, *db, QStringLiteral("All Bids, round 125"),
            qv::grid::tableStatement(QStringLiteral("All Bids"), QStringLiteral("125")));
    measure(out, *db, QStringLiteral("Markets, whole"),
            qv::grid::wholeTableStatement(QStringLiteral("Markets")));
    return 0;
}
