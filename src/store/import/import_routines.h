#pragma once

#include "common/prompter.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace qv {

// What the import routines need from the program around them: the prompting
// interface, the main window's caption, and the opening dialog to run again
// after a cancelled file dialog.
struct ImportHost {
    Prompter& prompter;
    std::function<void(const QString&)> setCaption = [](const QString&) {};
    std::function<void()> fileOpen = [] {};
    // The number of the error that cut the last import short, 0 when none did
    // (a refused file, or success): callers tell failures apart by it. 3059
    // after a successful import: a stop request ended the rebuild of the user
    // tables after it.
    int failure = 0;
    // True after an import whose round is in but some user table could not
    // be rebuilt (each named in its own message): the command has not done
    // all that was asked.
    bool rebuildFailed = false;
    // A first round's file chosen already (the sample auction's): creation
    // and batch import take it without asking.
    QString firstRoundFile = QString();
};

// Each routine reports its own failures through the prompter and returns
// whether it did what was asked.
bool CreateAuction(ImportHost& host);
bool ImportRound(ImportHost& host, bool AutoImport);
bool BatchImportAuction(ImportHost& host);

// What the rebuild of the user tables after one import met.
struct RebuildRun {
    // Left with their earlier rows because a window shows them.
    QStringList open;
    // Could not be rebuilt (a failing statement, a full disk): each keeps its
    // earlier rows, is named in a message of its own, and the tables after it
    // are still rebuilt.
    QStringList failed;
    // A stop request ended it: the table in hand and those after it keep their earlier rows.
    bool stopped = false;
};

// Each user table is rebuilt whole or not at all (the old one stays, and
// stays listed); one that fails does not stop the rebuild of the others. A table open in a window is left out
// of date, noted in run.open and in the session, and rebuilt when let go (RebuildReleasedTables) or at the
// next import. Each returns false when a stop request ended it.
bool RebuildWizardTables(ImportHost& host, RebuildRun& run);
bool RebuildQueryTables(ImportHost& host, RebuildRun& run);
// Rebuilds the tables left out of date that no window shows any longer.
void RebuildReleasedTables(ImportHost& host);

} // namespace qv
