#pragma once

#include <QString>

struct sqlite3;

namespace qv::bench {

// The import floor inside this process: a plain SQLite connection of its
// own on an auction, kept open between rounds as the program keeps its
// auction open. A round is unzipped with libzip into scratch (not forced to
// the disk) and the copy script (roundCopyScript, which attaches scratch as
// r) is run on the connection.
class FloorConnection {
public:
    explicit FloorConnection(const QString& auction);
    ~FloorConnection();
    FloorConnection(const FloorConnection&) = delete;
    FloorConnection& operator=(const FloorConnection&) = delete;

    void importRound(const QString& zip, const QString& scratch, const QString& script);

private:
    sqlite3* db_ = nullptr;
};

} // namespace qv::bench
