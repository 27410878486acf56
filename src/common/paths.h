#pragma once

#include <QString>

namespace qv {

// Splits a path at its last '/': the file name after it, or the folder up to
// and including it. A path without '/' is all file name and no folder.
QString SplitPath(const QString& path, bool fileNameWanted);

// The application folder: $QUORVANE_HOME, else the user's data folder.
// Created when missing.
QString applicationFolder();

// The first folder offered for round results files: the user's Downloads.
QString downloadFolder();

// Joins a folder and a file name with exactly one '/' between them.
QString joinPath(const QString& folder, const QString& name);

} // namespace qv
