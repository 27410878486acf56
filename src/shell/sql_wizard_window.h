#pragma once

#include "shell/frm_main.h"

namespace qv::shell {

// Shows the one SQL query wizard window of the main window, making it on
// first use; its Run runs TableSql2 on the active grid window.
void showSqlWizard(frmMain& main);

} // namespace qv::shell
