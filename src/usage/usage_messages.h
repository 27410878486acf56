#pragma once

#include "usage/program_usage.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace qv::usage {

// What quorvane-cli prints about how to run it.

// The exit code of a wrong command line.
inline constexpr int badCommandLine = 2;

// The command's usage on standard error, after the problem when one is
// given; returns badCommandLine.
int usageError(const char* command, const QString& problem = QString());

// The answer to what the command's arguments ask before it runs (see
// checkArguments): its usage on standard output for -h or --help (0), on
// standard error after an option it does not take (2); nothing when the
// command should run.
std::optional<int> answerUsageOptions(const CommandUsage& command, const QStringList& args);

// Text on standard output in one checked write, so that a reader who stops
// at the first line it wants (grep -q) does not cut the program off halfway;
// 0, or 1 when it cannot be written.
int printOnStandardOutput(const QString& text);

} // namespace qv::usage
