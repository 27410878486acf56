#include "store/import/auction_builder.h"

#include "common/error.h"
#include "common/paths.h"
#include "store/field_type.h"
#include "store/import/auction_file.h"
#include "store/import/import_folder.h"
#include "store/import/round_check.h"
#include "store/import/round_file_name.h"
#include "store/import/round_import.h"
#include "store/savepoint.h"
#include "store/session.h"
#include "store/sql_quote.h"
#include "store/sqlite_statement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace qv {

using store::schema::QueryBuilderLayout;

void reportCreationError(ImportHost& host, const Error& error)
{
    if (error.number() == err::DialogCancelled)
        host.fileOpen();
    else
        showGenericError(host.prompter, error);
}

std::optional<QString> chooseFirstRoundFile(ImportHost& host)
{
    FileChoice choice;
    choice.filter = QStringLiteral("Zip (*.zip)|*.zip");
    choice.initialFolder = downloadFolder();
    choice.cancelError = true;
    const QString chosen =
        host.firstRoundFile.isEmpty() ? host.prompter.openFile(choice) : host.firstRoundFile;
    if (chosen.isEmpty())
        return std::nullopt;
    SaveImportFolder(host.prompter, chosen);
    const QString fileName = SplitPath(chosen, true);
    if (roundNumberOf(fileName) != 1) {
        host.prompter.errorMessage(
            QStringLiteral("This file does not contain round 1!\r           Please try again."),
            QStringLiteral("Wrong File"), Icon::None, Buttons::OK);
        return std::nullopt;
    }
    return chosen;
}

namespace {

bool mayReplace(Prompter& prompter, const QString& auctionName)
{
    const Answer answer =
        prompter.message(QStringLiteral("An auction database named ") + auctionName +
                             QStringLiteral(" already exists in the application folder.\r") +
                             QStringLiteral("Replacing it discards every round imported into it.\r") +
                             QStringLiteral("Do you want to replace it?"),
                         QStringLiteral("New Auction"), Icon::Exclamation, Buttons::YesNo, Answer::No);
    return answer == Answer::Yes;
}

// Creation keeps tables and their rows only: a trigger or view of the first
// round's database would run inside the auction later.
void dropTriggersAndViews(store::Database& db)
{
    QStringList drops;
    {
        store::Statement objects(db.handle(),
                                 QStringLiteral("SELECT type, name FROM sqlite_master WHERE type "
                                                "IN ('trigger', 'view') ORDER BY type"));
        while (objects.step())
            drops << QStringLiteral("DROP ") +
                         QString::fromUtf8(
                             reinterpret_cast<const char*>(sqlite3_column_text(objects.get(), 0)))
                             .toUpper() +
                         QStringLiteral(" IF EXISTS ") +
                         store::quoteName(QString::fromUtf8(
                             reinterpret_cast<const char*>(sqlite3_column_text(objects.get(), 1))));
    }
    for (const QString& drop : drops)
        store::exec(db.handle(), drop);
}

// The tables of a first round's database that become supplied tables.
QStringList suppliedCandidates(store::Database& db)
{
    QStringList supplied;
    for (const QString& t : db.tableNames())
        if (store::schema::isSuppliedCandidate(t) && t != QLatin1String("sysSuppliedTables"))
            supplied << t;
    return supplied;
}

// Why the first round's database cannot become an auction, or empty.
QString firstRoundProblem(store::Database& db, const QStringList& supplied, const QString& fileName)
{
    for (const QString& t : supplied) {
        const QString problem = tableNameProblem(t, fileName);
        if (!problem.isEmpty())
            return problem;
    }
    return roundFileProblem(db, supplied, db, 1, fileName);
}

void addSystemTables(store::Database& db, const QStringList& supplied, int auctionNumber,
                     QueryBuilderLayout layout)
{
    db.execute(store::schema::CreateSuppliedTables);
    for (const QString& t : supplied)
        db.execute(store::schema::insertSuppliedTable(t));
    for (const QString& statement : store::schema::systemTableStatements(auctionNumber, layout))
        db.execute(statement);
}

} // namespace

std::optional<int> buildAuction(ImportHost& host, const QString& chosenPath, QueryBuilderLayout layout)
{
    Session& s = session();
    const QString fileName = SplitPath(chosenPath, true);
    const int auction = auctionNumberOf(fileName);
    const QString folder = applicationFolder();
    const QString auctionName = QStringLiteral("Auction") + QString::number(auction) + QStringLiteral(".mdb");
    const QString target = joinPath(folder, auctionName);
    if (QFile::exists(target)) {
        if (!mayReplace(host.prompter, auctionName))
            return std::nullopt;
        if (s.CurrentDatabase && s.CurrentDatabase->path() == QFileInfo(target).absoluteFilePath())
            CloseAuctionDatabase();
    }

    // The auction is built under a name of its own and moved into place only
    // when complete: a failure or a crash part-way leaves any old auction as
    // it was, and no half-built one.
    const QString building = buildingAuctionName(auctionName);
    removeWithSiblings(joinPath(folder, building));
    s.ExtractRenameTarget = building;
    std::optional<ExtractedRound> extracted;
    try {
        extracted.emplace(chosenPath, s.ExtractRenameTarget);
    } catch (...) {
        s.ExtractRenameTarget.clear();
        throw;
    }
    s.ExtractRenameTarget.clear();

    store::convertToOwnFormat(extracted->path());
    store::Database& db = extracted->open();
    dropTriggersAndViews(db);
    const QStringList supplied = suppliedCandidates(db);
    const QString problem = firstRoundProblem(db, supplied, fileName);
    if (!problem.isEmpty()) {
        refuseRoundFile(host.prompter, problem);
        return std::nullopt;
    }
    {
        store::WriteTransaction transaction(db.handle());
        addSystemTables(db, supplied, auction, layout);
        transaction.commit();
    }
    store::schema::ensureRoundIndexes(db);
    extracted->close();
    moveDatabaseIntoPlace(extracted->path(), target);
    extracted->keep();
    OpenAuctionDatabase(target);
    return auction;
}

} // namespace qv
