#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

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

} // namespace qv::test
