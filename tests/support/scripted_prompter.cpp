#include "support/scripted_prompter.h"

namespace qv::test {

Answer ScriptedPrompter::message(const QString& text, const QString& title, Icon icon, Buttons buttons,
                                 Answer defaultAnswer)
{
    messages.push_back({text, title, icon, buttons, defaultAnswer});
    if (buttons == Buttons::OK)
        return Answer::OK;
    if (answers.empty())
        return defaultAnswer;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

Answer ScriptedPrompter::errorMessage(const QString& text, const QString& title, Icon icon, Buttons buttons,
                                      Answer defaultAnswer)
{
    const Answer answer = message(text, title, icon, buttons, defaultAnswer);
    messages.back().isError = true;
    return answer;
}

std::optional<QString> ScriptedPrompter::input(const QString&, const QString&, const QString& defaultText)
{
    if (inputs.empty())
        return defaultText;
    std::optional<QString> answer;
    answer.swap(inputs.front());
    inputs.pop_front();
    return answer;
}

QString ScriptedPrompter::openFile(const FileChoice& choice)
{
    fileChoices.push_back(choice);
    QString chosen;
    if (!files.empty()) {
        chosen = files.front();
        files.pop_front();
    }
    return chosen.isEmpty() ? cancelledChoice(choice) : chosen;
}

QString ScriptedPrompter::saveFile(const FileChoice& choice)
{
    return openFile(choice);
}

void ScriptedPrompter::setStatus(int panel, const QString& text)
{
    if (panel >= 1 && panel <= 3)
        status[panel] = text;
    if (panel == 1)
        statusTexts << text;
}

QStringList ScriptedPrompter::titles() const
{
    QStringList t;
    for (const Message& m : messages)
        t << m.title;
    return t;
}

QStringList ScriptedPrompter::errors() const
{
    QStringList texts;
    for (const Message& m : messages)
        if (m.isError)
            texts << m.text;
    return texts;
}

} // namespace qv::test
