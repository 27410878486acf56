#pragma once

#include <QString>

#include <chrono>

namespace qv {
class Error;
}

namespace qv::store {

// How long a compaction waits for other connections (another program, a
// scheduled quorvane-cli import) to finish with the auction before it gives up.
inline constexpr std::chrono::milliseconds compactionWait{30000};

// Compacts the database file at path in place, under the engine's own
// locking: the rewrite waits until no other connection reads or writes the
// file, runs as one transaction, and nobody can write in between. A write of
// another process therefore lands either before the compaction (and is kept)
// or after it. On failure (the file in use for longer than wait, not a
// database, disk full) qv::Error is raised and the file is as it was.
// The file should not be open in this process.
void compactDatabase(const QString& path, std::chrono::milliseconds wait = compactionWait);

// What the user is told when a compaction failed, in the desktop program and
// in quorvane-cli alike.
QString compactionFailureText(const Error& error);

} // namespace qv::store
