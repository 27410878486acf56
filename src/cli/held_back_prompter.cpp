#include "cli/held_back_prompter.h"

namespace qv::cli {

Answer HeldBackPrompter::message(const QString& text, const QString& title, Icon icon, Buttons buttons,
                                 Answer defaultAnswer)
{
    return hold({text, title, icon, false}, buttons, defaultAnswer);
}

Answer HeldBackPrompter::errorMessage(const QString& text, const QString& title, Icon icon, Buttons buttons,
                                      Answer defaultAnswer)
{
    return hold({text, title, icon, true}, buttons, defaultAnswer);
}

Answer HeldBackPrompter::hold(const Held& message, Buttons buttons, Answer defaultAnswer)
{
    // A question is asked at once: its answer is needed now.
    if (buttons != Buttons::OK)
        return message.isError
                   ? shown_.errorMessage(message.text, message.title, message.icon, buttons, defaultAnswer)
                   : shown_.message(message.text, message.title, message.icon, buttons, defaultAnswer);
    held_.push_back(message);
    return defaultAnswer;
}

std::optional<QString> HeldBackPrompter::input(const QString& prompt, const QString& title,
                                               const QString& defaultText)
{
    return shown_.input(prompt, title, defaultText);
}

void HeldBackPrompter::release()
{
    for (const Held& h : held_) {
        if (h.isError)
            shown_.errorMessage(h.text, h.title, h.icon);
        else
            shown_.message(h.text, h.title, h.icon);
    }
    held_.clear();
}

} // namespace qv::cli
