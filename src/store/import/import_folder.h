#pragma once

#include "common/prompter.h"

#include <QString>

namespace qv {

// lastimp.inf holds one line: the folder of the last round results file
// chosen in a file dialog, with its trailing '/'. It lives in the
// application folder, at this path.
QString lastImportFilePath();
void SaveImportFolder(Prompter& prompter, const QString& chosenPath);
QString ReadImportFolder(Prompter& prompter);

// The full path of the next expected round results file in the last import
// folder, or "NOT FOUND". Failures pass to the caller.
QString NextRoundFileName(Prompter& prompter);

// The file name of the round after the highest imported one in the open
// auction ("05_013.zip"). Failures pass to the caller.
QString nextRoundFileBaseName();

// Round numbers in file names have at least three digits.
QString roundDigits(int round);

} // namespace qv
