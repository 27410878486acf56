#include "store/import/auction_builder.h"

#include "common/error.h"
#include "common/paths.h"
#include "store/import/import_folder.h"
#include "store/import/round_archive.h"
#include "store/import/round_copy.h"
#include "store/import/round_file_name.h"
#include "store/session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qv {

using store::schema::QueryBuilderLayout;

void reportCreationError(ImportHost& host, const Error& error)
{
    if (error.number() == err::DialogCancelled)
        host.fileOpen();
    else
        showGenericError(host.prompter, error);
}

void refuseForeignRound(Prompter& prompter, const QString& fileName, int round, const QString& detail)
{
    prompter.message(QStringLiteral("The round results file ") + fileName +
                         QStringLiteral(" does not hold round ") + QString::number(round) +
                         QStringLiteral(" alone: ") + detail + QStringLiteral(".\r") +
                         QStringLiteral("Nothing has been imported."),
                     QStringLiteral("Wrong Round Results File"), Icon::Exclamation);
}

std::optional<QString> chooseFirstRoundFile(ImportHost& host)
{
    FileChoice choice;
    choice.filter = QStringLiteral("Zip (*.zip)|*.zip");
    choice.initialFolder = downloadFolder();
    choice.cancelError = true;
    const QString chosen = host.prompter.openFile(choice);
    if (chosen.isEmpty())
        return std::nullopt;
    SaveImportFolder(host.prompter, chosen);
    const QString fileName = SplitPath(chosen, true);
    if (roundNumberOf(fileName) != 1) {
        host.prompter.message(
            QStringLiteral("This file does not contain round 1!\r           Please try again."),
            QStringLiteral("Wrong File"), Icon::None, Buttons::OK);
        return std::nullopt;
    }
    return chosen;
}

namespace {

// A missing folder is created and the operation tried once more.
template <typename F> auto retryAfterCreatingFolder(const QString& folder, F operation)
{
    try {
        return operation();
    } catch (const Error& e) {
        if (e.number() != err::PathNotFound || !QDir().mkpath(folder))
            throw;
        return operation();
    }
}

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

void addSystemTables(store::Database& db, int auctionNumber, QueryBuilderLayout layout)
{
    db.execute(store::schema::CreateSuppliedTables);
    const QStringList tables = db.tableNames();
    for (const QString& t : tables)
        if (store::schema::isSuppliedCandidate(t) && t != QLatin1String("sysSuppliedTables"))
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

    s.ExtractRenameTarget = auctionName;
    try {
        retryAfterCreatingFolder(folder, [&] {
            return extractRoundDatabase(chosenPath, memberNameOf(fileName), folder, s.ExtractRenameTarget);
        });
    } catch (...) {
        s.ExtractRenameTarget.clear();
        throw;
    }
    s.ExtractRenameTarget.clear();

    // A half-built auction is of no use to anyone: it goes if any step fails.
    try {
        store::convertToOwnFormat(target);
        OpenAuctionDatabase(target);
        store::Database& db = *s.CurrentDatabase;
        db.beginTrans();
        addSystemTables(db, auction, layout);
        const QString foreign = foreignRoundIn(db, db, 1);
        if (!foreign.isEmpty()) {
            db.rollback();
            CloseAuctionDatabase();
            QFile::remove(target);
            refuseForeignRound(host.prompter, fileName, 1, foreign);
            return std::nullopt;
        }
        db.commitTrans();
        store::schema::ensureRoundIndexes(db);
    } catch (...) {
        CloseAuctionDatabase();
        QFile::remove(target);
        throw;
    }
    return auction;
}

} // namespace qv
