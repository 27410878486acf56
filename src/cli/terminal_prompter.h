#pragma once

#include "common/prompter.h"

#include <QStringList>
#include <QTextStream>

namespace qv::cli {

// The prompting interface on a terminal: every message box prints one line
// (title, then text with its carriage returns as line breaks) at once, on
// standard output, or on standard error when it reports a failure;
// questions are answered by --yes, and file dialogs take the files given on
// the command line. A message that cannot be printed
// does not stop the work in hand: the failure is kept by StandardOutput and
// reported when the command ends.
class TerminalPrompter : public Prompter {
public:
    TerminalPrompter(bool answerYes, QStringList files);

    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons,
                   Answer defaultAnswer) override;
    Answer errorMessage(const QString& text, const QString& title, Icon icon, Buttons buttons,
                        Answer defaultAnswer) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString openFile(const FileChoice& choice) override;
    QString saveFile(const FileChoice& choice) override;
    void setStatus(int panel, const QString& text) override;
    void setBusy(bool) override {}

    // True when an error was reported, or a file the command needed was not given.
    bool sawError() const { return sawError_; }

private:
    Answer show(const QString& text, const QString& title, Buttons buttons, Answer defaultAnswer, bool error);

    bool answerYes_;
    QStringList files_;
    QTextStream err_;
    bool sawError_ = false;
};

} // namespace qv::cli
