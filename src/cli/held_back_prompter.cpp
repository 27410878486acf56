#include "cli/held_back_prompter.h"

namespace qv::cli {

Answer HeldBackPrompter::message(const QString& text, const QString& title, Icon icon, Buttons buttons,
                                 Answer defaultAnswer)
{
    if (buttons != Buttons::OK)
        return shown_.message(text, title, icon, buttons, defaultAnswer);
    held_.push_back({text, title, icon, false});
    return defaultAnswer;
}

Answer HeldBackPrompter::errorMessage(const QString& text, const QString& title, Icon icon, Buttons buttons,
                                      Answer defaultAnswer)
{
    if (buttons != Buttons::OK)
        return shown_.errorMessage(text, title, icon, buttons, defaultAnswer);
    held_.push_back({text, title, icon, true});
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
