#pragma once

#include <QString>

namespace qv::shell {

// The file a compaction writes first: "REORG.MDB" beside the database, so the
// final rename stays on one file system.
QString reorganizePath(const QString& databasePath);

// Compacts the closed database at databasePath into a copy beside it and puts
// the copy in its place with one atomic rename. On failure the old file is
// kept, the copy removed, and qv::Error raised.
void compactInPlace(const QString& databasePath);

} // namespace qv::shell
