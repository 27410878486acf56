#pragma once

class QWidget;

namespace qv {
class Error;
class Prompter;
} // namespace qv

namespace qv::grid {
class SpreadGrid;
}

namespace qv::print {

// The printed grid of the frame's active child window: error 91 when there is
// no child window, 438 when it is not a window that prints one.
grid::SpreadGrid& activeGrid(QWidget* activeChild);

// How the print windows report a failed load: no child window is "You must
// have an active grid displayed.", anything else the error itself.
void reportLoadError(Prompter& prompter, const Error& error);

} // namespace qv::print
