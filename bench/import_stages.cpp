#include "import_stages.h"

#include "bench_support.h"
#include "store/database.h"
#include "store/import/import_routines.h"
#include "store/import/round_check.h"
#include "store/import/round_copy.h"
#include "store/import/round_import.h"
#include "store/session.h"

#include <QFileInfo>

#include <optional>

namespace qv::bench {

QString importStages(const QString& zip, int round)
{
    store::Database& auction = *session().CurrentDatabase;
    SilentPrompter prompter;
    ImportHost host{prompter};
    const AuctionTables tables(auction);
    std::optional<ExtractedRound> extracted;
    const double unzip = timeIt([&] { extracted.emplace(zip); });
    RoundTables source;
    const double open = timeIt([&] { source = extracted->attachTo(auction); });
    std::optional<TableColumns> roundColumns;
    const double check = timeIt([&] {
        roundColumns.emplace(source.connection, source.schema);
        roundFileProblem(tables.columns, tables.supplied, source, *roundColumns, round,
                         QFileInfo(zip).fileName());
    });
    const double copy = timeIt([&] {
        auction.beginTrans();
        copyAttachedRoundTables(auction, tables.columns, *roundColumns, tables.supplied, round, true);
        auction.execute(QStringLiteral("DELETE * FROM [sysRounds] WHERE [Round] = ") +
                        QString::number(round));
        auction.execute(QStringLiteral("INSERT INTO sysRounds (Round) VALUES (") + QString::number(round) +
                        QLatin1Char(')'));
        auction.commitTrans();
    });
    extracted.reset();
    RebuildRun rebuild;
    const double wizard = timeIt([&] { RebuildWizardTables(host, rebuild); });
    const double queries = timeIt([&] { RebuildQueryTables(host, rebuild); });
    return QStringLiteral("unzip %1 s, open %2 s, round check %3 s, copy+commit %4 s, wizard tables %5 s, "
                          "query tables %6 s")
        .arg(unzip)
        .arg(open)
        .arg(check)
        .arg(copy)
        .arg(wizard)
        .arg(queries);
}

} // namespace qv::bench
