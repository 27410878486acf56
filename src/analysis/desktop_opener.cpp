#include "analysis/desktop_opener.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace qv::analysis {

QString desktopOpener()
{
    return QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
}

void openWithDesktop(const QString& path, QObject* context, const std::function<void()>& failed,
                     const QString& opener)
{
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
            failed();
        return;
    }
    // The application owns the process: the program it starts may outlast
    // the window that asked for it.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(opener);
    process->setArguments({path});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    const QPointer<QObject> asker(context);
    QObject::connect(process, &QProcess::finished, process,
                     [process, asker, failed](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status == QProcess::NormalExit && code != 0 && asker != nullptr)
                             failed();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, asker, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         process->deleteLater();
                         if (asker != nullptr)
                             failed();
                     });
    process->start();
}

} // namespace qv::analysis
