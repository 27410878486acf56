#pragma once

#include <QMargins>
#include <QRect>

namespace qv {

// Where a window goes so that all of it, its frame too, lies inside an area
// (the available screen for a window of its own, the frame's area for a
// child window): as near as can be to where it was wanted, and shrunk where
// it is larger than the area. `wanted` is the window without its frame;
// `frame` is what the window manager adds around it.
QRect fitInside(const QRect& wanted, const QRect& area, const QMargins& frame = {});

// A window of that size centred over another window's rectangle.
QRect centredOver(const QSize& size, const QRect& over);

// Room for a title bar and borders, for a window the window manager has not
// framed yet.
inline constexpr QMargins TypicalFrame{6, 32, 6, 6};

} // namespace qv
