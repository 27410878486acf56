#pragma once

namespace qv::shell {

class frmMain;

// The program's entry: splash, main window at its stored placement, the
// opening dialog, the work, and at the end the compaction of the auction
// database. Returns the process exit code.
int Main();

// Everything after the splash: shows the main window, runs the opening dialog
// and the event loop, and compacts the auction database when the window has
// closed. Cancel or No in the opening dialog ends the run at once, through the
// event loop, with the auction database closed and without compaction.
int runMainWindow(frmMain& main);

} // namespace qv::shell
