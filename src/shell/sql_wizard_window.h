#pragma once

#include "shell/frm_main.h"

namespace qv::shell {

// Shows the one SQL query wizard window of the main window, making it on
// first use; its Run hands its query to the active grid window's TableSql2.
void showSqlWizard(frmMain& main);

} // namespace qv::shell
