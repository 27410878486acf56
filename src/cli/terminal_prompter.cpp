#include "cli/terminal_prompter.h"

#include "common/safe_file.h"

#include <cstdio>

namespace qv::cli {

TerminalPrompter::TerminalPrompter(bool answerYes, QStringList files)
    : answerYes_(answerYes), files_(std::move(files)), err_(stderr)
{
}

Answer TerminalPrompter::message(const QString& text, const QString& title, Icon, Buttons buttons,
                                 Answer defaultAnswer)
{
    return show(text, title, buttons, defaultAnswer, false);
}

Answer TerminalPrompter::errorMessage(const QString& text, const QString& title, Icon, Buttons buttons,
                                      Answer defaultAnswer)
{
    sawError_ = true;
    return show(text, title, buttons, defaultAnswer, true);
}

Answer TerminalPrompter::show(const QString& text, const QString& title, Buttons buttons,
                              Answer defaultAnswer, bool error)
{
    QString shown = title + QStringLiteral(": ") + text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!shown.endsWith(QLatin1Char('\n')))
        shown += QLatin1Char('\n');
    Answer answer = defaultAnswer;
    if (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel)
        answer = answerYes_ ? Answer::Yes : Answer::No;
    else if (buttons == Buttons::OKCancel)
        answer = answerYes_ ? Answer::OK : Answer::Cancel;
    if (buttons != Buttons::OK)
        shown += answer == Answer::Yes || answer == Answer::OK ? QStringLiteral("(answered Yes)\n")
                                                               : QStringLiteral("(answered No)\n");
    // An error never goes where the command's output goes (a file, a pipe).
    if (error)
        StandardOutput::instance().reportError(shown);
    else
        StandardOutput::instance().writeMessage(shown);
    return answer;
}

std::optional<QString> TerminalPrompter::input(const QString& prompt, const QString& title, const QString&)
{
    err_ << title << ": " << prompt << " (no answer on the command line)\n";
    err_.flush();
    return std::nullopt;
}

QString TerminalPrompter::openFile(const FileChoice& choice)
{
    if (!files_.isEmpty())
        return files_.takeFirst();
    err_ << "A round results file is needed (" << choice.filter.section(QLatin1Char('|'), 0, 0)
         << ", looked in "
         << (choice.initialFolder.isEmpty() ? QStringLiteral("no folder yet") : choice.initialFolder)
         << "): give it on the command line.\n";
    err_.flush();
    sawError_ = true;
    return cancelledChoice(choice);
}

QString TerminalPrompter::saveFile(const FileChoice& choice)
{
    return openFile(choice);
}

void TerminalPrompter::setStatus(int panel, const QString& text)
{
    if (panel == 1 && !text.isEmpty()) {
        err_ << text << '\n';
        err_.flush();
    }
}

} // namespace qv::cli
