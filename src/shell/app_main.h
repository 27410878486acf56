#pragma once

namespace qv::shell {

// The program's entry: splash, main window at its stored placement, the
// opening dialog, the work, and at the end the compaction of the auction
// database. Returns the process exit code.
int Main();

} // namespace qv::shell
