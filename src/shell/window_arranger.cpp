#include "shell/window_arranger.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace qv::shell {

namespace {

QList<QMdiSubWindow*> shownWindows(QMdiArea& area, bool minimised)
{
    QList<QMdiSubWindow*> windows;
    const QList<QMdiSubWindow*> all = area.subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow* window : all) {
        if (!window->isHidden() && window->isMinimized() == minimised)
            windows << window;
    }
    return windows;
}

// Stacks the windows one above the other (vertical) or side by side.
void tile(QMdiArea& area, bool aboveEachOther)
{
    const QList<QMdiSubWindow*> windows = shownWindows(area, false);
    if (windows.isEmpty())
        return;
    const QRect space = area.viewport()->rect();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* window = windows[i];
        window->showNormal();
        if (aboveEachOther) {
            const int top = space.height() * i / n;
            const int bottom = space.height() * (i + 1) / n;
            window->setGeometry(0, top, space.width(), bottom - top);
        } else {
            const int left = space.width() * i / n;
            const int right = space.width() * (i + 1) / n;
            window->setGeometry(left, 0, right - left, space.height());
        }
    }
}

void lineUpIcons(QMdiArea& area)
{
    const QRect space = area.viewport()->rect();
    int x = 0;
    int y = space.bottom();
    const QList<QMdiSubWindow*> windows = shownWindows(area, true);
    for (QMdiSubWindow* window : windows) {
        const QSize size = window->size();
        if (x > 0 && x + size.width() > space.width()) {
            x = 0;
            y -= size.height();
        }
        window->move(x, y - size.height() + 1);
        x += size.width();
    }
}

} // namespace

void arrangeWindows(QMdiArea& area, ArrangeStyle style)
{
    switch (style) {
    case ArrangeStyle::Cascade:
        area.cascadeSubWindows();
        break;
    case ArrangeStyle::TileHorizontal:
        tile(area, true);
        break;
    case ArrangeStyle::TileVertical:
        tile(area, false);
        break;
    case ArrangeStyle::ArrangeIcons:
        lineUpIcons(area);
        break;
    }
}

} // namespace qv::shell
