#include "grid/action_list.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>

namespace qv::grid {

ActionList::ActionList(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
}

QSize ActionList::sizeHint() const
{
    // Wide enough for the longest column name of the auction's tables.
    const int width = fontMetrics().horizontalAdvance(QStringLiteral("Bidders Raising Own High Bid")) + 48;
    return {width, 12 * fontMetrics().height()};
}

void ActionList::startDrag(Qt::DropActions)
{
    QListWidgetItem* item = currentItem();
    if (item == nullptr)
        return;
    emit dragStarted();
    auto* drag = new QDrag(this);
    auto* mime = new QMimeData;
    mime->setText(item->text());
    drag->setMimeData(mime);
    drag->exec(Qt::MoveAction);
    // A drag that ended anywhere else is no longer under way.
    Tag.clear();
}

bool ActionList::accepts(const QDropEvent* event) const
{
    return event->mimeData()->hasText() && (event->source() == this || event->source() == partner_);
}

void ActionList::dragEnterEvent(QDragEnterEvent* event)
{
    if (accepts(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void ActionList::dragMoveEvent(QDragMoveEvent* event)
{
    if (accepts(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void ActionList::dropEvent(QDropEvent* event)
{
    if (!accepts(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit dropped(event->mimeData()->text(), event->source() == this);
}

} // namespace qv::grid
