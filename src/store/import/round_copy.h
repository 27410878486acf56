#pragma once

#include "store/database.h"

namespace qv {

// The rows of every supplied table whose [Round] differs from round, in the
// round database; empty when the file holds only that round. Checked before
// anything changes.
QString foreignRoundIn(store::Database& auction, store::Database& roundDb, int round);

// Copies the supplied tables of a round database into the auction: the
// round's old rows are deleted first (unless the auction is new), and
// "Withdrawal Statistics" is replaced whole.
void copyRoundTables(store::Database& auction, store::Database& roundDb, int round, bool deleteOldRows);

// Removes a file when the scope ends, whatever happened.
class RemoveOnExit {
public:
    explicit RemoveOnExit(QString path) : path_(std::move(path)) {}
    ~RemoveOnExit();
    RemoveOnExit(const RemoveOnExit&) = delete;
    RemoveOnExit& operator=(const RemoveOnExit&) = delete;

private:
    QString path_;
};

} // namespace qv
