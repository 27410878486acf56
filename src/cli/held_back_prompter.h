#pragma once

#include "common/prompter.h"

#include <vector>

namespace qv::cli {

// Passes everything on to another prompter but its plain messages, which it
// keeps until told whether they are news: a try that fails again as the one
// before did need not say it all again. Questions go through at once.
class HeldBackPrompter : public Prompter {
public:
    explicit HeldBackPrompter(Prompter& shown) : shown_(shown) {}

    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons,
                   Answer defaultAnswer) override;
    Answer errorMessage(const QString& text, const QString& title, Icon icon, Buttons buttons,
                        Answer defaultAnswer) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString openFile(const FileChoice& choice) override { return shown_.openFile(choice); }
    QString saveFile(const FileChoice& choice) override { return shown_.saveFile(choice); }
    void setStatus(int panel, const QString& text) override { shown_.setStatus(panel, text); }
    void setBusy(bool busy) override { shown_.setBusy(busy); }

    // Shows what was kept, in order.
    void release();

private:
    struct Held {
        QString text;
        QString title;
        Icon icon;
        bool isError;
    };
    Answer hold(const Held& message, Buttons buttons, Answer defaultAnswer);

    Prompter& shown_;
    std::vector<Held> held_;
};

} // namespace qv::cli
