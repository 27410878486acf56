#pragma once

#include "common/prompter.h"
#include "store/database.h"
#include "store/import/round_check.h"
#include "store/import/table_columns.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace qv {

// A round results file's database, extracted into the application folder
// (under a name of this run's own, or renameTarget) for the length of a
// scope: closed and removed, journal siblings included, when the scope ends
// unless kept.
class ExtractedRound {
public:
    ExtractedRound(const QString& archive, const QString& renameTarget = {});
    ~ExtractedRound();
    ExtractedRound(const ExtractedRound&) = delete;
    ExtractedRound& operator=(const ExtractedRound&) = delete;

    // Opens the extracted database and checks that it reads whole; a damaged
    // one raises 3343 naming the round results file.
    store::Database& open();
    // Attaches the extracted database to the auction's connection (a Jet
    // one read into memory) and checks that it reads whole, as open() does:
    // the round is then read through the auction's connection alone.
    // Returns where its tables are then read.
    RoundTables attachTo(store::Database& auction);
    void close();
    const QString& path() const { return path_; }
    const QString& archive() const { return archive_; }
    QString fileName() const;
    void keep() { keep_ = true; }

private:
    // Connects (opens or attaches) and checks that the database reads whole;
    // one that cannot be read raises 3343 naming the round results file.
    void connectChecked(const std::function<sqlite3*()>& connect, const QString& schema);

    QString archive_;
    QString path_;
    std::shared_ptr<store::Database> db_;
    store::Database* attachedTo_ = nullptr;
    bool keep_ = false;
};

// The supplied tables of an auction, in the order they were listed.
QStringList suppliedTablesOf(store::Database& auction);

// Tells the user why a round results file was refused: problem is the first
// sentence (naming the file and what is wrong).
void refuseRoundFile(Prompter& prompter, const QString& problem);

// How a round's rows go into the auction: a new auction's further rounds
// are only added, an import replaces the round's old rows.
enum class RoundRows { Add, Replace };

// What an import reads of the auction itself: its supplied tables and their
// columns. Adding rounds changes neither, so a batch reads them once.
struct AuctionTables {
    explicit AuctionTables(store::Database& auction);
    QStringList supplied;
    TableColumns columns;
    // The columns of the rounds imported with these, kept between rounds.
    mutable RoundColumnsCache rounds;
};

// Imports the round results file archive as round into the auction: extracts
// its database, refuses it (with a message, returning false) when it does not
// fit the auction, else copies every supplied table and records the round in
// sysRounds, all in one transaction. Nothing of the round is written unless
// all of it is. The extracted file is removed at the end. Other failures
// raise, with the auction as it was. known, when given, is the auction's
// tables as read before.
bool importRoundFile(Prompter& prompter, store::Database& auction, const QString& archive, int round,
                     RoundRows rows, const AuctionTables* known = nullptr);

} // namespace qv
