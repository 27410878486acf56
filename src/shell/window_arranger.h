#pragma once

class QMdiArea;

namespace qv::shell {

// The Window menu's arrangements of the child windows, by style number:
// 0 cascade, 1 tile horizontally (one above the other), 2 tile vertically
// (side by side), 3 line up the minimised windows along the bottom.
void arrangeWindows(QMdiArea& area, int style);

} // namespace qv::shell
