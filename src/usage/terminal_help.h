#pragma once

#include "usage/program_usage.h"

#include <QString>

namespace qv::usage {

// What --help prints, in lines of at most 79 characters.

// A program's forms, what it does, its commands (each form with a summary),
// its options and the sections of its manual page.
QString programHelp(const ProgramUsage& program);

// One command's forms, what it does, its options (with -h, --help) and
// examples.
QString commandHelp(const ProgramUsage& program, const CommandUsage& command);

} // namespace qv::usage
