#include "grid/drop_down_list.h"

#include <QFocusEvent>

namespace qv::grid {

void DropDownList::showPopup()
{
    emit droppedDown();
    QComboBox::showPopup();
}

void DropDownList::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // The list's own pop-up taking the focus is not leaving the control.
    if (event->reason() != Qt::PopupFocusReason)
        emit lostFocus();
}

} // namespace qv::grid
