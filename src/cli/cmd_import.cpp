#include "cli/commands.h"
#include "cli/terminal_prompter.h"

#include "common/error.h"
#include "common/safe_file.h"
#include "store/import/import_folder.h"
#include "store/import/import_routines.h"
#include "store/session.h"
#include "usage/usage_messages.h"

#include <QFileInfo>
#include <QTextStream>

namespace qv::cli {

namespace {

// Runs one routine with the prompter and returns the exit code: 0 exactly
// when the routine did all that was asked (the auction made, the round in
// and every user table rebuilt).
template <typename Routine> int run(const Options& options, QStringList files, Routine routine)
{
    session().LastImportFile = lastImportFilePath();
    TerminalPrompter prompter(options.yes, std::move(files));
    ImportHost host{prompter};
    host.fileOpen = [] {};
    bool done = false;
    try {
        done = routine(host) && !host.rebuildFailed;
    } catch (const Error& e) {
        StandardOutput::instance().reportError(errorText(ErrorLayout::Generic, e));
    }
    CloseAuctionDatabase();
    return done ? 0 : 1;
}

QString absolute(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

int runCreate(const QStringList& args, const Options& options)
{
    if (args.size() != 1)
        return usage::usageError("create");
    return run(options, {absolute(args[0])}, [](ImportHost& host) { return CreateAuction(host); });
}

int runBatch(const QStringList& args, const Options& options)
{
    if (args.size() != 1)
        return usage::usageError("batch");
    return run(options, {absolute(args[0])}, [](ImportHost& host) { return BatchImportAuction(host); });
}

int runImport(const QStringList& args, const Options& options)
{
    if (args.isEmpty() || args.size() > 2)
        return usage::usageError("import");
    const QString database = absolute(args[0]);
    const bool autoImport = args.size() == 1;
    QStringList files;
    if (!autoImport) {
        files << absolute(args[1]);
        // The file given here is the dialog's choice, whose folder the import
        // writes to lastimp.inf; written first, the dialog's first folder has
        // nothing missing to complain about.
        const QString lastImport = lastImportFilePath();
        if (!QFileInfo::exists(lastImport)) {
            session().LastImportFile = lastImport;
            TerminalPrompter quiet(options.yes, {});
            SaveImportFolder(quiet, files.first());
        }
    }
    return run(options, files, [&](ImportHost& host) {
        OpenAuctionDatabase(database);
        return ImportRound(host, autoImport);
    });
}

} // namespace qv::cli
