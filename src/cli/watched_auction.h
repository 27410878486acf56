#pragma once

#include <QString>

#include <sys/types.h>

namespace qv::cli {

// The auction database a long-running command works on. It is opened again
// when its file has been replaced (the desktop program compacts it into a new
// file at exit), so that rounds never go into a file that is gone.
class WatchedAuction {
public:
    explicit WatchedAuction(QString path) : path_(std::move(path)) {}

    // Opens the file as the current auction database unless it is open
    // already; engine errors pass to the caller.
    void ensureOpen();
    // The next expected round results file in folder, whether or not it exists
    // yet: the auction number of round 1 in two digits, "_", the round after
    // the highest imported one in at least three digits, ".zip".
    QString expectedRoundFile(const QString& folder) const;

private:
    QString path_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

} // namespace qv::cli
