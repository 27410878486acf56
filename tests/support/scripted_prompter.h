#pragma once

#include "common/prompter.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

namespace qv::test {

// A prompter that records every call and answers from a script: tests
// assert the exact texts, titles, icons and buttons the user would see.
class ScriptedPrompter : public Prompter {
public:
    struct Message {
        QString text;
        QString title;
        Icon icon;
        Buttons buttons;
        Answer defaultAnswer;
        bool isError = false; // reported as an error, whatever its wording
    };

    // Answers to questions, in order; when none is left: the default answer.
    std::deque<Answer> answers;
    // Files chosen in open and save dialogs, in order; an empty text cancels.
    std::deque<QString> files;
    std::deque<std::optional<QString>> inputs;

    std::vector<Message> messages;
    std::vector<FileChoice> fileChoices;
    QStringList statusTexts; // first panel, in order
    QString status[4];
    int busyDepth = 0;

    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons,
                   Answer defaultAnswer) override;
    Answer errorMessage(const QString& text, const QString& title, Icon icon, Buttons buttons,
                        Answer defaultAnswer) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString openFile(const FileChoice& choice) override;
    QString saveFile(const FileChoice& choice) override;
    void setStatus(int panel, const QString& text) override;
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }

    QStringList titles() const;
    // The texts of the messages reported as errors, in order.
    QStringList errors() const;
};

} // namespace qv::test
