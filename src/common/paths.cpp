#include "common/paths.h"

#include <QDir>
#include <QStandardPaths>

namespace qv {

QString SplitPath(const QString& path, bool fileNameWanted)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return fileNameWanted ? path : QString();
    return fileNameWanted ? path.mid(slash + 1) : path.left(slash + 1);
}

QString applicationFolder()
{
    QString folder = qEnvironmentVariable("QUORVANE_HOME");
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/.quorvane");
    QDir().mkpath(folder);
    return QDir::cleanPath(folder);
}

QString downloadFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

QString joinPath(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

} // namespace qv
