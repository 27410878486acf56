#pragma once

namespace qv::shell {

class frmMain;

// The windows the frame's menu items open: the round summary, the standings,
// the print options and the print preview.
void installCommandWindows(frmMain& main);

} // namespace qv::shell
