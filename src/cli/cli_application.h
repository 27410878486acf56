#pragma once

#include <QCoreApplication>

#include <memory>

namespace qv::cli {

// For the commands that draw (print, pivot --chart, standings --chart,
// report): the drawing module's application, a widgets one for charts,
// offscreen unless a platform is set. Nothing for every other command, or
// when the module cannot be loaded.
std::unique_ptr<QCoreApplication> drawingApplication(int& argc, char** argv);

} // namespace qv::cli
