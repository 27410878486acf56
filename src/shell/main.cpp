#include "shell/app_main.h"
#include "shell/toolbar_icons.h"
#include "usage/terminal_help.h"
#include "usage/usage_messages.h"

#include <QApplication>
#include <QTextStream>

namespace {

// --help and --version are answered before the application starts, so they
// need no display.
int earlyAnswer(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (qv::usage::helpOption().named(arg))
            return qv::usage::printOnStandardOutput(qv::usage::programHelp(qv::usage::desktopUsage()));
        if (arg == QLatin1String("--version"))
            return qv::usage::printOnStandardOutput(QStringLiteral("quorvane " QUORVANE_VERSION "\n"));
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (const int answered = earlyAnswer(argc, argv); answered >= 0)
        return answered;
    QApplication app(argc, argv);
    // What is left once Qt has taken its own options (-platform, -style...) is
    // nothing the program takes.
    if (argc > 1) {
        QTextStream(stderr) << "quorvane: unknown argument " << QString::fromLocal8Bit(argv[1]) << '\n'
                            << qv::usage::programHelp(qv::usage::desktopUsage());
        return qv::usage::badCommandLine;
    }
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QApplication::setOrganizationName(QStringLiteral("Quorvane"));
    QApplication::setApplicationVersion(QStringLiteral(QUORVANE_VERSION));
    QApplication::setWindowIcon(qv::shell::toolIcon(QStringLiteral("New")));
    return qv::shell::Main();
}
