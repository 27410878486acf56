#pragma once

#include "usage/program_usage.h"

#include <QString>
#include <QStringList>

namespace qv::usage {

// What a command's arguments ask before the command looks at them: its help
// (-h or --help anywhere, but not as an option's value), or nothing it can
// run because an option is not the command's. Everything else is left to the
// command.
struct ArgumentCheck {
    enum class Outcome { Run, Help, UnknownOption } outcome = Outcome::Run;
    QString option; // the unknown option
};
ArgumentCheck checkArguments(const CommandUsage& command, const QStringList& args);

} // namespace qv::usage
