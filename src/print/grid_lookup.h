#pragma once

class QWidget;

namespace qv::grid {
class SpreadGrid;
}

namespace qv::print {

// The grid "MSFlexGrid1" of the frame's active child window: error 91 when
// there is no child window, 438 when it has no such grid.
grid::SpreadGrid& activeGrid(QWidget* activeChild);

} // namespace qv::print
