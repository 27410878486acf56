#pragma once

#include "usage/program_usage.h"

#include <QString>

namespace qv::usage {

// The program's manual page in section 1, in the man macros: name,
// synopsis, description, options, every command (forms, what it does,
// options, examples), the program's sections and where to look next.
QString manPage(const ProgramUsage& program, const QString& version);

} // namespace qv::usage
