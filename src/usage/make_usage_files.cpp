// Writes the manual pages of both programs and quorvane-cli's bash
// completion into a folder, from the usage table the programs print.
#include "common/error.h"
#include "common/safe_file.h"
#include "usage/bash_completion.h"
#include "usage/man_page.h"
#include "usage/program_usage.h"

#include <QDir>
#include <QTextStream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        QTextStream(stderr) << "Usage: quorvane-usage-files FOLDER\n";
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QString version = QStringLiteral(QUORVANE_VERSION);
    try {
        qv::writeFileSafely(folder.filePath(QStringLiteral("quorvane-cli.1")),
                            qv::usage::manPage(qv::usage::cliUsage(), version).toUtf8());
        qv::writeFileSafely(folder.filePath(QStringLiteral("quorvane.1")),
                            qv::usage::manPage(qv::usage::desktopUsage(), version).toUtf8());
        qv::writeFileSafely(folder.filePath(QStringLiteral("quorvane-cli")),
                            qv::usage::bashCompletion(qv::usage::cliUsage()).toUtf8());
    } catch (const qv::Error& error) {
        QTextStream(stderr) << error.description() << '\n';
        return 1;
    }
    return 0;
}
