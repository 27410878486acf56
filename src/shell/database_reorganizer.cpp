#include "shell/database_reorganizer.h"

#include "common/error.h"
#include "common/paths.h"
#include "store/database.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace qv::shell {

QString reorganizePath(const QString& databasePath)
{
    return joinPath(QFileInfo(databasePath).absolutePath(), QStringLiteral("REORG.MDB"));
}

void compactInPlace(const QString& databasePath)
{
    const QString copy = reorganizePath(databasePath);
    // A copy left by an interrupted run is stale.
    QFile::remove(copy);
    try {
        store::Database::compact(databasePath, copy);
    } catch (...) {
        QFile::remove(copy);
        throw;
    }
    // rename() replaces the target in one step: at every moment one complete
    // database file carries the auction's name.
    if (std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(databasePath).constData()) != 0) {
        QFile::remove(copy);
        throw Error(75, QStringLiteral("Path/File access error: could not replace ") + databasePath +
                            QStringLiteral(" by its compacted copy"));
    }
}

} // namespace qv::shell
