#include "cli/commands.h"
#include "cli/held_back_prompter.h"
#include "cli/round_watcher.h"
#include "cli/stop_signal.h"
#include "cli/terminal_prompter.h"
#include "cli/watched_auction.h"

#include "cli/standings_output.h"
#include "common/error.h"
#include "common/safe_file.h"
#include "standings/core/round_line.h"
#include "standings/core/round_standings.h"
#include "store/import/import_folder.h"
#include "store/import/import_routines.h"
#include "store/session.h"
#include "usage/usage_messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cerrno>
#include <cmath>

#include <unistd.h>

namespace qv::cli {

namespace {

int usageError()
{
    return usage::usageError("watch");
}

void note(const QString& line)
{
    QTextStream err(stderr);
    err << line << '\n';
    err.flush();
}

// Failures that pass by themselves: room made on the disk, another program
// done with the auction, a round file we may not read yet (its owner's chmod
// changes neither its size nor its time, so no change would bring it back).
// Told by number, never by wording.
bool canPass(int error, const QString& path)
{
    if (error == err::PathFileAccess)
        return ::access(QFile::encodeName(path).constData(), R_OK) != 0 && errno == EACCES;
    return error == err::DiskFull || error == err::EngineDiskFull || error == err::FileInUse ||
           error == err::TableInUse;
}

const QString importedTitle = QStringLiteral("Round Imported Successfully");

// The import's messages on the terminal, but its success message held back:
// the round's line of standings says it instead.
class WatchPrompter : public TerminalPrompter {
public:
    using TerminalPrompter::TerminalPrompter;
    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons,
                   Answer defaultAnswer) override
    {
        if (title == importedTitle && buttons == Buttons::OK) {
            held_ = text;
            return defaultAnswer;
        }
        return TerminalPrompter::message(text, title, icon, buttons, defaultAnswer);
    }
    // The success message after all, when no line of standings can be made.
    void release()
    {
        if (!held_.isEmpty())
            TerminalPrompter::message(std::exchange(held_, QString()), importedTitle, Icon::Information,
                                      Buttons::OK, Answer::OK);
    }

private:
    QString held_;
};

// One line per imported round: "Round 13: 41 new high bids, ...". What the
// auction's files lack is said once, on standard error, and again only when
// it changes.
void tellRound(WatchPrompter& prompter, QStringList& lastNotes)
{
    try {
        store::Database& auction = *session().CurrentDatabase;
        const standings::RoundStandings round =
            standings::computeRoundStandings(auction, standings::chooseRound(auction, QString()));
        if (round.basis.notes() != lastNotes) {
            lastNotes = round.basis.notes();
            noteOnStandardError(lastNotes);
        }
        StandardOutput& out = StandardOutput::instance();
        out.write(standings::roundLine(round) + QLatin1Char('\n'));
        out.flush();
    } catch (const Error& error) {
        prompter.release();
        note(QStringLiteral("No standings for this round: ") + errorText(ErrorLayout::Report, error));
    }
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
                return usageError();
        } else if (database.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
            database = QFileInfo(args[i]).absoluteFilePath();
        } else {
            return usageError();
        }
    }
    if (database.isEmpty())
        return usageError();

    session().LastImportFile = lastImportFilePath();
    WatchedAuction auction(database);
    try {
        auction.ensureOpen();
    } catch (const Error& e) {
        StandardOutput::instance().reportError(errorText(ErrorLayout::Generic, e));
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
    QStringList lastNotes;
    hooks.importFile = [&](const QString& path, bool retry) {
        auction.ensureOpen();
        WatchPrompter terminal(false, {path});
        HeldBackPrompter held(terminal);
        ImportHost host{retry ? static_cast<Prompter&>(held) : terminal};
        using Outcome = RoundWatcher::ImportOutcome;
        const bool imported = ImportRound(host, false);
        Outcome outcome = imported ? Outcome::Imported : Outcome::FileRefused;
        if (host.failure == err::OperationCancelled)
            outcome = imported ? Outcome::StoppedRebuilding : Outcome::StoppedImporting;
        else if (!imported && canPass(host.failure, path))
            outcome = Outcome::FailedForNow;
        // A retry that fails for now again has nothing new to say.
        if (outcome != Outcome::FailedForNow)
            held.release();
        if (imported)
            tellRound(terminal, lastNotes);
        // Each table was named in its own message; the watch goes on.
        if (imported && host.rebuildFailed)
            note(QStringLiteral("Not every user defined table could be rebuilt after this round: the ones "
                                "named above keep their earlier rows"));
        return outcome;
    };
    hooks.note = note;
    RoundWatcher watcher(hooks, static_cast<int>(std::lround(seconds * 1000)));
    QObject::connect(&signal, &StopSignal::stopRequested, &watcher, &RoundWatcher::stop);
    // A stop that cut a round's import or rebuild short leaves work undone.
    QObject::connect(&watcher, &RoundWatcher::stopped, qApp,
                     [&watcher] { QCoreApplication::exit(watcher.stoppedMidWork() ? 1 : 0); });
    watcher.start();
    // A stop that came during the first look has ended the watcher already.
    const int code = StopSignal::requested() ? (watcher.stoppedMidWork() ? 1 : 0) : QCoreApplication::exec();
    CloseAuctionDatabase();
    note(QStringLiteral("Stopped"));
    return code;
}

} // namespace qv::cli
