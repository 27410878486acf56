#include "common/process_state.h"

#include <QCoreApplication>

#include <cerrno>

#include <signal.h>

namespace qv {

bool processHasEnded(qint64 pid)
{
    return pid > 0 && pid != QCoreApplication::applicationPid() && ::kill(static_cast<pid_t>(pid), 0) != 0 &&
           errno == ESRCH;
}

} // namespace qv
