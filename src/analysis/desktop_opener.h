#pragma once

#include <QString>

#include <functional>

class QObject;

namespace qv::analysis {

// The desktop's own opener of files (xdg-open); empty when there is none.
QString desktopOpener();

// Opens a file with the program the desktop has for its kind, through
// `opener`. The opener tells only by its exit status, often seconds later,
// that no program is set up: `failed` is then called, while `context` lives.
// Without an opener, Qt's own way is tried and `failed` called at once.
void openWithDesktop(const QString& path, QObject* context, const std::function<void()>& failed,
                     const QString& opener = desktopOpener());

} // namespace qv::analysis
