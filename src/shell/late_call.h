#pragma once

#include <QString>

class QObject;

namespace qv::shell {

// Calls a public routine of a window by its name, found at run time: error 91
// when there is no window, 438 when the window offers no routine of that name
// (with that argument).
void callByName(QObject* target, const char* routine);
void callByName(QObject* target, const char* routine, const QString& argument);

} // namespace qv::shell
