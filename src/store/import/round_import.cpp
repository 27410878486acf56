#include "store/import/round_import.h"

#include "common/error.h"
#include "common/paths.h"
#include "store/field_type.h"
#include "store/import/auction_file.h"
#include "store/import/round_archive.h"
#include "store/import/round_check.h"
#include "store/import/round_copy.h"
#include "store/import/round_file_name.h"
#include "store/jet/jet_reader.h"
#include "store/savepoint.h"
#include "store/sql_quote.h"
#include "store/sqlite_statement.h"

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

// What the engine's quick integrity check says of the database attached to
// connection as schema: "ok", the first problem found, or why it cannot be
// read (naming path, the file it was read from).
QString quickCheckVerdict(sqlite3* connection, const QString& schema, const QString& path)
{
    store::Statement check(connection, QStringLiteral("PRAGMA ") + store::quoteName(schema) +
                                           QStringLiteral(".quick_check(1)"));
    try {
        return check.step()
                   ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0)))
                   : QString();
    } catch (const Error& e) {
        if (e.number() != err::NotADatabase)
            throw;
        // The engine's error names the connection's main file.
        return QStringLiteral("The database '%1' is damaged: %2")
            .arg(path, QString::fromUtf8(sqlite3_errmsg(connection)));
    }
}

} // namespace

ExtractedRound::ExtractedRound(const QString& archive, const QString& renameTarget) : archive_(archive)
{
    const QString member = memberNameOf(fileName());
    // Each run extracts under a name of its own: another program importing
    // the same round at the same time must not open, replace or remove ours.
    const QString ownName = renameTarget.isEmpty() ? extractedRoundName(member) : renameTarget;
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

void ExtractedRound::connectChecked(const std::function<sqlite3*()>& connect, const QString& schema)
{
    const QString member = memberNameOf(fileName());
    QString verdict;
    try {
        verdict = quickCheckVerdict(connect(), schema, path_);
    } catch (const Error& e) {
        if (e.number() != err::NotADatabase)
            throw;
        close();
        throw damaged(archive_, member, e.description());
    }
    if (verdict != QLatin1String("ok")) {
        close();
        throw damaged(archive_, member, verdict);
    }
}

store::Database& ExtractedRound::open()
{
    connectChecked(
        [this] {
            db_ = store::Database::openRound(path_);
            return db_->handle();
        },
        QStringLiteral("main"));
    return *db_;
}

RoundTables ExtractedRound::attachTo(store::Database& auction)
{
    const QString schema = store::Database::sourceSchema();
    connectChecked(
        [&] {
            // A Jet round is read into a database in memory attached in its
            // place; anything else is attached as it is (and refused there
            // when it is no database).
            if (store::jet::isJetDatabase(path_)) {
                auction.attachSourceInMemory(path_);
                attachedTo_ = &auction;
                store::jet::copyJetIntoSqlite(path_, auction.handle(), schema, false);
            } else {
                auction.attachSource(path_);
                attachedTo_ = &auction;
            }
            return auction.handle();
        },
        schema);
    return {auction.handle(), schema};
}

void ExtractedRound::close()
{
    if (attachedTo_) {
        try {
            attachedTo_->detachSource();
        } catch (const Error&) {
            // Only a transaction still open keeps it attached; its end
            // (commit or rollback) comes before the file is removed.
        }
        attachedTo_ = nullptr;
    }
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
    std::optional<AuctionTables> own;
    const AuctionTables& shape = known ? *known : own.emplace(auction);
    const QStringList& tables = shape.supplied;
    // The round is read through the auction's connection alone.
    const RoundTables source = extracted.attachTo(auction);
    // Each table's columns are read once, for the checks and the copy.
    const TableColumns& auctionColumns = shape.columns;
    const TableColumns& roundColumns = shape.rounds.columnsOf(source.connection, source.schema);
    const QString problem =
        roundFileProblem(auctionColumns, tables, source, roundColumns, round, extracted.fileName());
    if (!problem.isEmpty()) {
        refuseRoundFile(prompter, problem);
        return false;
    }
    store::WriteTransaction transaction(auction.handle());
    const bool replace = rows == RoundRows::Replace;
    copyAttachedRoundTables(auction, auctionColumns, roundColumns, tables, round, replace);
    if (replace)
        auction.execute(QStringLiteral("DELETE * FROM [sysRounds] WHERE [Round] = ") +
                        QString::number(round));
    auction.execute(QStringLiteral("INSERT INTO sysRounds (Round) VALUES (") + QString::number(round) +
                    QLatin1Char(')'));
    transaction.commit();
    return true;
}

} // namespace qv
