#pragma once

#include <QCoreApplication>

#include <memory>

namespace qv::cli {

// For pivot --chart, which draws: a widgets application (offscreen unless a
// platform is set). Nothing for every other command.
std::unique_ptr<QCoreApplication> chartApplication(int& argc, char** argv);

} // namespace qv::cli
