#pragma once

#include <QProcess>
#include <QString>

namespace qv::test {

// A program's dynamic section as `readelf -d` prints it (the libraries it
// needs among it), or empty when readelf cannot be run.
inline QString dynamicSectionOf(const QString& program)
{
    QProcess readelf;
    readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), program});
    if (!readelf.waitForFinished(60000) || readelf.exitStatus() != QProcess::NormalExit ||
        readelf.exitCode() != 0)
        return {};
    return QString::fromUtf8(readelf.readAllStandardOutput());
}

} // namespace qv::test
