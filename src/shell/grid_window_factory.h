#pragma once

#include "shell/frm_main.h"

namespace qv::shell {

// Makes the program's grid windows for the main window.
frmMain::ChildFactory gridWindowFactory();

} // namespace qv::shell
