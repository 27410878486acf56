#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>

namespace qv::test {

struct CliRun {
    int code = -1;
    QString out;
    QString err;
};

// Runs quorvane-cli to its end; a run that crashed or was killed has code -1.
inline CliRun runCli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QV_CLI_PATH), args);
    p.waitForFinished(180000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// Starts quorvane-cli and kills it (SIGKILL) after the given time, if still running.
inline void killCliAfter(const QStringList& args, int microseconds)
{
    QProcess p;
    p.start(QStringLiteral(QV_CLI_PATH), args);
    p.waitForStarted();
    QThread::usleep(static_cast<unsigned long>(microseconds));
    p.kill();
    p.waitForFinished(10000);
}

} // namespace qv::test
