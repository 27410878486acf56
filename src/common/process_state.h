#pragma once

#include <QtGlobal>

namespace qv {

// True when no process of this id is running any more (and it is not this
// one): what such a run left behind can be removed.
bool processHasEnded(qint64 pid);

} // namespace qv
