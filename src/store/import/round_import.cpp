#include "store/import/round_import.h"

#include "common/error.h"
#include "common/paths.h"
#include "store/import/auction_file.h"
#include "store/import/round_archive.h"
#include "store/import/round_check.h"
#include "store/import/round_copy.h"
#include "store/import/round_file_name.h"
#include "store/savepoint.h"
#include "store/sqlite_statement.h"

#include <QCoreApplication>
#include <QDir>

#include <sqlite3.h>

#include <optional>

namespace qv {

namespace {

// A missing application folder is created and the extraction tried once more.
QString extractInto(const QString& archive, const QString& member, const QString& folder,
                    const QString& renameTarget, bool temporary)
{
    try {
        return extractRoundDatabase(archive, member, folder, renameTarget, temporary);
    } catch (const Error& e) {
        if (e.number() != err::PathNotFound || !QDir().mkpath(folder))
            throw;
        return extractRoundDatabase(archive, member, folder, renameTarget, temporary);
    }
}

Error damaged(const QString& archive, const QString& member, const QString& why)
{
    return Error(err::NotADatabase, QStringLiteral("The round results file '%1' is damaged: its database %2 "
                                                   "cannot be read (%3).")
                                        .arg(archive, member, why));
}

} // namespace

ExtractedRound::ExtractedRound(const QString& archive, const QString& renameTarget) : archive_(archive)
{
    const QString member = memberNameOf(fileName());
    // Each run extracts under a name of its own: another program importing
    // the same round at the same time must not open, replace or remove ours.
    const QString ownName = renameTarget.isEmpty() ? member + QLatin1Char('.') +
                                                         QString::number(QCoreApplication::applicationPid())
                                                   : renameTarget;
    clearLeftoversOfEndedRuns(applicationFolder());
    // Only a round that becomes a new auction is kept after the import.
    path_ = extractInto(archive, member, applicationFolder(), ownName, renameTarget.isEmpty());
}

ExtractedRound::~ExtractedRound()
{
    close();
    if (!keep_)
        removeWithSiblings(path_);
}

QString ExtractedRound::fileName() const
{
    return SplitPath(archive_, true);
}

store::Database& ExtractedRound::open()
{
    const QString member = memberNameOf(fileName());
    try {
        db_ = store::Database::open(path_);
        store::Statement check(db_->handle(), QStringLiteral("PRAGMA quick_check(1)"));
        const QString verdict =
            check.step()
                ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0)))
                : QString();
        if (verdict != QLatin1String("ok"))
            throw damaged(archive_, member, verdict);
    } catch (const Error& e) {
        if (e.number() != err::NotADatabase)
            throw;
        close();
        if (e.description().startsWith(QStringLiteral("The round results file")))
            throw;
        throw damaged(archive_, member, e.description());
    }
    return *db_;
}

void ExtractedRound::close()
{
    if (db_) {
        db_->close();
        db_.reset();
    }
}

QStringList suppliedTablesOf(store::Database& auction)
{
    auto rs = auction.openRecordset(QStringLiteral("SELECT TableName FROM sysSuppliedTables"),
                                    store::RecordsetType::Snapshot);
    QStringList tables;
    for (int row = 0; row < rs->recordCount(); ++row)
        tables << rs->at(row, 0).toString();
    return tables;
}

void refuseRoundFile(Prompter& prompter, const QString& problem)
{
    prompter.errorMessage(problem + QStringLiteral(".\rNothing has been imported."),
                          QStringLiteral("Wrong Round Results File"), Icon::Exclamation);
}

AuctionTables::AuctionTables(store::Database& auction) : supplied(suppliedTablesOf(auction)), columns(auction)
{
}

bool importRoundFile(Prompter& prompter, store::Database& auction, const QString& archive, int round,
                     RoundRows rows, const AuctionTables* known)
{
    ExtractedRound extracted(archive);
    store::Database& roundDb = extracted.open();
    std::optional<AuctionTables> own;
    const AuctionTables& shape = known ? *known : own.emplace(auction);
    const QStringList& tables = shape.supplied;
    // Each table's columns are read once, for the checks and the copy.
    const TableColumns& auctionColumns = shape.columns;
    const TableColumns roundColumns(roundDb);
    const QString problem =
        roundFileProblem(auctionColumns, tables, roundDb, roundColumns, round, extracted.fileName());
    if (!problem.isEmpty()) {
        refuseRoundFile(prompter, problem);
        return false;
    }
    AttachedRound attached(auction, roundDb);
    store::WriteTransaction transaction(auction.handle());
    const bool attachedCopy = !roundDb.isReadOnly();
    copyRoundTables(auction, attachedCopy ? std::optional(auctionColumns) : std::nullopt, roundDb,
                    attachedCopy ? std::optional(roundColumns) : std::nullopt, tables, round,
                    rows == RoundRows::Replace);
    extracted.close();
    if (rows == RoundRows::Replace)
        auction.execute(QStringLiteral("DELETE * FROM [sysRounds] WHERE [Round] = ") +
                        QString::number(round));
    auction.execute(QStringLiteral("INSERT INTO sysRounds (Round) VALUES (") + QString::number(round) +
                    QLatin1Char(')'));
    transaction.commit();
    return true;
}

} // namespace qv
