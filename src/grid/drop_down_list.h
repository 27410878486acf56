#pragma once

#include <QComboBox>

namespace qv::grid {

// A drop-down list that tells when it is about to drop down (so its owner can
// refill it first) and when it loses the focus to another control. Selecting
// an entry, by the user or by code, is a click even when that entry was
// selected already: the owner reloads what it shows.
class DropDownList : public QComboBox {
    Q_OBJECT
public:
    explicit DropDownList(QWidget* parent = nullptr);

    void showPopup() override;
    void hidePopup() override;
    // Selects by code; choosing the entry already selected clicks it again.
    void setCurrentIndex(int index);

signals:
    void droppedDown();
    void lostFocus();
    // An entry was selected (never for an empty selection).
    void clicked();
    // The list closed up with no entry selected (Escape, or a click
    // elsewhere, after a refill emptied the selection).
    void closedWithoutChoice();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool changedBeforeActivation_ = false;
};

} // namespace qv::grid
