#include "import_stages.h"

#include "bench_support.h"
#include "common/paths.h"
#include "store/database.h"
#include "store/import/import_routines.h"
#include "store/import/round_archive.h"
#include "store/import/round_check.h"
#include "store/import/round_copy.h"
#include "store/import/round_import.h"
#include "store/session.h"

#include <QFile>
#include <QFileInfo>

namespace qv::bench {

QString importStages(const QString& zip, int round)
{
    store::Database& auction = *session().CurrentDatabase;
    SilentPrompter prompter;
    ImportHost host{prompter};
    const QString member = QFileInfo(zip).completeBaseName() + QStringLiteral(".mdb");
    QString extracted;
    store::DatabasePtr roundDb;
    const double unzip = timeIt([&] { extracted = extractRoundDatabase(zip, member, applicationFolder()); });
    const double open = timeIt([&] { roundDb = store::Database::open(extracted); });
    const double check = timeIt([&] {
        roundFileProblem(auction, suppliedTablesOf(auction), *roundDb, round, QFileInfo(zip).fileName());
    });
    const double copy = timeIt([&] {
        auction.beginTrans();
        copyRoundTables(auction, *roundDb, round, true);
        roundDb->close();
        auction.execute(QStringLiteral("DELETE * FROM [sysRounds] WHERE [Round] = ") +
                        QString::number(round));
        auction.execute(QStringLiteral("INSERT INTO sysRounds (Round) VALUES (") + QString::number(round) +
                        QLatin1Char(')'));
        auction.commitTrans();
    });
    const double wizard = timeIt([&] { RebuildWizardTables(host); });
    const double queries = timeIt([&] { RebuildQueryTables(host); });
    QFile::remove(extracted);
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
