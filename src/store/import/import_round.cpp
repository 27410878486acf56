#include "common/error.h"
#include "common/paths.h"
#include "store/import/import_folder.h"
#include "store/import/import_routines.h"
#include "store/import/round_file_name.h"
#include "store/import/round_import.h"
#include "store/session.h"

namespace qv {

namespace {

QString chooseRoundFile(ImportHost& host)
{
    FileChoice choice;
    choice.filter = QStringLiteral("Zip (*.zip)|*.zip");
    choice.initialFolder = ReadImportFolder(host.prompter);
    choice.cancelError = true;
    const QString chosen = host.prompter.openFile(choice);
    if (!chosen.isEmpty())
        SaveImportFolder(host.prompter, chosen);
    return chosen;
}

int auctionOfDatabase(store::Database& db)
{
    auto rs = db.openRecordset(QStringLiteral("Select [Auction ID] From [sysAuction]"),
                               store::RecordsetType::Snapshot);
    rs->moveFirst();
    return rs->value(0).toInt();
}

void refuseOtherAuction(Prompter& prompter)
{
    prompter.errorMessage(QStringLiteral("         The round results file you have selected\r") +
                              QStringLiteral("does not belong to the auction you currently have open.\r") +
                              QStringLiteral("     Please check the auction number and try again."),
                          QStringLiteral("Wrong Round Results File"), Icon::Exclamation);
}

// Once for the whole import: the tables on show keep their earlier rows.
void reportOpenTables(Prompter& prompter, const QStringList& open)
{
    if (open.isEmpty())
        return;
    QString tables;
    for (const QString& table : open)
        tables += QStringLiteral(" < < < ") + table + QStringLiteral(" > > > \r");
    prompter.message(QStringLiteral(" The Round Import Was Successful. However... \r") +
                         QStringLiteral(" These user defined tables (UDT) are open in a data window: \r") +
                         tables +
                         QStringLiteral("\r They keep their earlier rows until their windows close, and are "
                                        "then rebuilt."),
                     QStringLiteral("Successful Round Import!"), Icon::Information);
}

} // namespace

bool ImportRound(ImportHost& host, bool AutoImport)
{
    BusyScope busy(host.prompter);
    host.failure = 0;
    host.rebuildFailed = false;
    try {
        store::Database& auction = *session().CurrentDatabase;
        const QString path = AutoImport ? NextRoundFileName(host.prompter) : chooseRoundFile(host);
        if (path == QLatin1String("NOT FOUND"))
            return ImportRound(host, false);
        if (path.isEmpty())
            return false;
        const QString fileName = SplitPath(path, true);
        const int round = roundNumberOf(fileName);
        if (auctionNumberOf(fileName) != auctionOfDatabase(auction)) {
            refuseOtherAuction(host.prompter);
            return false;
        }
        if (!importRoundFile(host.prompter, auction, path, round, RoundRows::Replace))
            return false;
        RebuildRun rebuild;
        const bool wizardTablesDone = RebuildWizardTables(host, rebuild);
        host.prompter.message(QStringLiteral("Round ") + QString::number(round) +
                                  QStringLiteral(" has been successfully imported.\r"),
                              QStringLiteral("Round Imported Successfully"), Icon::Information);
        if (wizardTablesDone)
            RebuildQueryTables(host, rebuild);
        reportOpenTables(host.prompter, rebuild.open);
        if (rebuild.stopped)
            host.failure = err::OperationCancelled;
        host.rebuildFailed = !rebuild.failed.isEmpty();
        return true;
    } catch (const Error& e) {
        host.failure = e.number();
        if (e.number() == err::TableInUse) {
            host.prompter.errorMessage(
                QStringLiteral("    A user defined table is currently open in a data window.\r") +
                    QStringLiteral(" To be updated, ALL user defined tables table must be closed.\r") +
                    QStringLiteral(" Please close ALL user defined tables and re-import the round."),
                QStringLiteral("Unsuccessful Import"), Icon::Exclamation);
        } else if (e.number() != err::DialogCancelled) {
            showGenericError(host.prompter, e);
        }
        return false;
    }
}

} // namespace qv
