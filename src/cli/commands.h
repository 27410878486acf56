#pragma once

#include <QStringList>

namespace qv::cli {

// Options common to every command.
struct Options {
    QString appDir;   // --app-dir, else $QUORVANE_HOME, else the default folder
    bool yes = false; // --yes answers Yes to every question
};

// Each command takes its own arguments (after the command word) and returns
// the process exit code.
int runSample(const QStringList& args, const Options& options);
int runSql(const QStringList& args, const Options& options);
int runCreate(const QStringList& args, const Options& options);
int runBatch(const QStringList& args, const Options& options);
int runImport(const QStringList& args, const Options& options);
int runShow(const QStringList& args, const Options& options);
int runWatch(const QStringList& args, const Options& options);
int runExport(const QStringList& args, const Options& options);
int runDrop(const QStringList& args, const Options& options);
int runQuery(const QStringList& args, const Options& options);
int runSummary(const QStringList& args, const Options& options);
int runPrint(const QStringList& args, const Options& options);
int runPivot(const QStringList& args, const Options& options);
int runCompact(const QStringList& args, const Options& options);
int runStandings(const QStringList& args, const Options& options);
int runReport(const QStringList& args, const Options& options);
int runTables(const QStringList& args, const Options& options);

} // namespace qv::cli
