#pragma once

#include "common/prompter.h"

#include <QString>

#include <functional>

namespace qv {

// What the import routines need from the program around them: the prompting
// interface, the main window's caption, and the opening dialog to run again
// after a cancelled file dialog.
struct ImportHost {
    Prompter& prompter;
    std::function<void(const QString&)> setCaption = [](const QString&) {};
    std::function<void()> fileOpen = [] {};
};

// Each routine reports its own failures through the prompter and returns
// whether it did what was asked.
bool CreateAuction(ImportHost& host);
bool ImportRound(ImportHost& host, bool AutoImport);
bool BatchImportAuction(ImportHost& host);
void RebuildWizardTables(ImportHost& host);
void RebuildQueryTables(ImportHost& host);

} // namespace qv
