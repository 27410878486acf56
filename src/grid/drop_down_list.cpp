#include "grid/drop_down_list.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QTimer>

namespace qv::grid {

DropDownList::DropDownList(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        changedBeforeActivation_ = true;
        if (index >= 0)
            emit clicked();
    });
    // The user's choice of the entry already selected changes no index.
    connect(this, &QComboBox::activated, this, [this](int index) {
        const bool changed = changedBeforeActivation_;
        changedBeforeActivation_ = false;
        if (!changed && index >= 0)
            emit clicked();
    });
}

void DropDownList::setCurrentIndex(int index)
{
    if (index >= 0 && index == currentIndex()) {
        if (!signalsBlocked())
            emit clicked();
        return;
    }
    QComboBox::setCurrentIndex(index);
}

void DropDownList::showPopup()
{
    changedBeforeActivation_ = false;
    emit droppedDown();
    QComboBox::showPopup();
}

void DropDownList::hidePopup()
{
    QComboBox::hidePopup();
    // Told once the choice, if one was made, has been taken.
    QTimer::singleShot(0, this, [this] {
        if (currentIndex() == -1 && !view()->isVisible())
            emit closedWithoutChoice();
    });
}

void DropDownList::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // The list's own pop-up taking the focus is not leaving the control.
    if (event->reason() != Qt::PopupFocusReason)
        emit lostFocus();
}

} // namespace qv::grid
