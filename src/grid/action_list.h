#pragma once

#include <QListWidget>

namespace qv::grid {

// A list of the table actions dialog whose entries move by double click or by
// drag and drop to a partner list. Tag is the drag flag: "True" while a drag
// that started here is under way.
class ActionList : public QListWidget {
    Q_OBJECT
public:
    explicit ActionList(QWidget* parent = nullptr);

    QString Tag;
    // The list whose drags may land here.
    void setPartner(ActionList* partner) { partner_ = partner; }
    QSize sizeHint() const override;

signals:
    void dragStarted();
    // Text dropped here from this list or its partner.
    void dropped(const QString& text, bool fromItself);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool accepts(const QDropEvent* event) const;

    ActionList* partner_ = nullptr;
};

} // namespace qv::grid
