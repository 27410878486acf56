#pragma once

class QMdiArea;

namespace qv::shell {

// The Window menu's arrangements of the child windows, numbered as the
// frame's arrange operation numbers them.
enum class ArrangeStyle {
    Cascade = 0,
    TileHorizontal = 1, // one above the other
    TileVertical = 2,   // side by side
    ArrangeIcons = 3,   // the minimised windows lined up along the bottom
};

void arrangeWindows(QMdiArea& area, ArrangeStyle style);

} // namespace qv::shell
