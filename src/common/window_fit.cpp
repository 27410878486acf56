#include "common/window_fit.h"

#include <algorithm>

namespace qv {

QRect fitInside(const QRect& wanted, const QRect& area, const QMargins& frame)
{
    const QRect room = area.marginsRemoved(frame);
    // An area with no room at all: the window keeps its size at its corner.
    if (room.width() < 1 || room.height() < 1)
        return QRect(room.topLeft(), wanted.size());
    const QSize size = wanted.size().boundedTo(room.size()).expandedTo(QSize(1, 1));
    // Pushed back from the right and bottom edges first, then from the left
    // and top: what cannot fit keeps its top left corner in view.
    const int x = std::max(room.left(), std::min(wanted.left(), room.right() + 1 - size.width()));
    const int y = std::max(room.top(), std::min(wanted.top(), room.bottom() + 1 - size.height()));
    return QRect(QPoint(x, y), size);
}

QRect centredOver(const QSize& size, const QRect& over)
{
    return QRect(over.center() - QPoint(size.width() / 2, size.height() / 2), size);
}

} // namespace qv
