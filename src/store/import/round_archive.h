#pragma once

#include <QString>

namespace qv {

// Extracts the member of a round results archive whose file name is member
// (any folder stored in the archive is ignored) into folder, under its own
// name or under renameTarget when that is not empty. Nothing is written
// outside folder. A missing archive or member (53) or a damaged archive (75)
// is reported at once. Returns the path written. A temporary file, removed
// once read, is not forced to the disk.
QString extractRoundDatabase(const QString& archive, const QString& member, const QString& folder,
                             const QString& renameTarget = {}, bool temporary = false);

} // namespace qv
