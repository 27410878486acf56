#pragma once

#include "common/prompter.h"

#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

namespace qv::shell {

// The prompting interface on the desktop: message boxes, input and file
// dialogs over the main window, and its status bar panels.
class QtPrompter : public Prompter {
public:
    using StatusWriter = std::function<void(int panel, const QString& text)>;

    explicit QtPrompter(QWidget* parent = nullptr, StatusWriter statusWriter = {});

    void setParent(QWidget* parent) { parent_ = parent; }
    void setStatusWriter(StatusWriter writer) { statusWriter_ = std::move(writer); }

    Answer message(const QString& text, const QString& title, Icon icon = Icon::None,
                   Buttons buttons = Buttons::OK, Answer defaultAnswer = Answer::OK) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText = {}) override;
    QString openFile(const FileChoice& choice) override;
    QString saveFile(const FileChoice& choice) override;
    void setStatus(int panel, const QString& text) override;
    void setBusy(bool busy) override;

private:
    QWidget* owner() const;

    QPointer<QWidget> parent_;
    StatusWriter statusWriter_;
};

// Our messages separate lines with carriage returns; widgets want '\n'.
QString displayText(const QString& text);

// "Zip (*.zip)|*.zip|All (*.*)|*.*" as Qt's "Zip (*.zip);;All (*.*)".
QString qtFileFilter(const QString& filter);

} // namespace qv::shell
