#pragma once

#include "usage/program_usage.h"

#include <QString>

namespace qv::usage {

// A bash completion script for the program: its commands, each command's
// options, the words an option or argument may be, folders and files where
// a form names them (auction databases *.mdb, round files *.zip), and for
// TABLE the tables of the auction named before it, read with the program's
// tables command.
QString bashCompletion(const ProgramUsage& program);

} // namespace qv::usage
