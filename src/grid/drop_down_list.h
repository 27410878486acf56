#pragma once

#include <QComboBox>

namespace qv::grid {

// A drop-down list that tells when it is about to drop down (so its owner can
// refill it first) and when it loses the focus to another control.
class DropDownList : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void showPopup() override;

signals:
    void droppedDown();
    void lostFocus();

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace qv::grid
