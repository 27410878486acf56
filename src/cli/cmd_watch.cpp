#include "cli/commands.h"
#include "cli/round_watcher.h"
#include "cli/stop_signal.h"
#include "cli/terminal_prompter.h"
#include "cli/watched_auction.h"

#include "common/error.h"
#include "common/safe_file.h"
#include "store/import/import_folder.h"
#include "store/import/import_routines.h"
#include "store/session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cmath>

namespace qv::cli {

namespace {

int usage()
{
    QTextStream(stderr) << "Usage: quorvane-cli watch DB [--folder DIR] [--interval SECONDS]\n";
    return 2;
}

void note(const QString& line)
{
    QTextStream err(stderr);
    err << line << '\n';
    err.flush();
}

} // namespace

int runWatch(const QStringList& args, const Options&)
{
    QString database;
    QString folder;
    double seconds = 1.0;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--folder") && i + 1 < args.size()) {
            folder = args[++i];
        } else if (args[i] == QLatin1String("--interval") && i + 1 < args.size()) {
            bool ok = false;
            seconds = args[++i].toDouble(&ok);
            if (!ok || !(seconds >= 0.05) || seconds > 86400)
                return usage();
        } else if (database.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
            database = QFileInfo(args[i]).absoluteFilePath();
        } else {
            return usage();
        }
    }
    if (database.isEmpty())
        return usage();

    session().LastImportFile = lastImportFilePath();
    WatchedAuction auction(database);
    try {
        auction.ensureOpen();
    } catch (const Error& e) {
        StandardOutput::instance().writeMessage(errorText(ErrorLayout::Generic, e) + QLatin1Char('\n'));
        return 1;
    }
    if (folder.isEmpty()) {
        TerminalPrompter quiet(false, {});
        folder = ReadImportFolder(quiet);
        if (folder.isEmpty()) {
            note(QStringLiteral("No round has been imported from a folder yet: give --folder DIR"));
            return 2;
        }
    }
    folder = QDir(folder).absolutePath();

    StopSignal signal;
    RoundWatcher::Hooks hooks;
    hooks.expectedFile = [&] {
        auction.ensureOpen();
        return auction.expectedRoundFile(folder);
    };
    hooks.importFile = [&](const QString& path) {
        auction.ensureOpen();
        TerminalPrompter prompter(false, {path});
        ImportHost host{prompter};
        return ImportRound(host, false);
    };
    hooks.note = note;
    RoundWatcher watcher(hooks, static_cast<int>(std::lround(seconds * 1000)));
    QObject::connect(&signal, &StopSignal::stopRequested, &watcher, &RoundWatcher::stop);
    QObject::connect(&watcher, &RoundWatcher::stopped, qApp, [] { QCoreApplication::exit(0); });
    watcher.start();
    const int code = StopSignal::requested() ? 0 : QCoreApplication::exec();
    CloseAuctionDatabase();
    note(QStringLiteral("Stopped"));
    return code;
}

} // namespace qv::cli
