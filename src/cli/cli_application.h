#pragma once

#include <QCoreApplication>

#include <memory>

namespace qv::cli {

// The application object for this run: a plain core application, except for
// pivot --chart, which draws and so needs a widgets application (offscreen
// unless a platform is set).
std::unique_ptr<QCoreApplication> makeCliApplication(int& argc, char** argv);

} // namespace qv::cli
