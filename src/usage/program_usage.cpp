#include "usage/program_usage.h"

#include <QString>

namespace qv::usage {

bool OptionUsage::named(QStringView word) const
{
    return word == QLatin1String(name) || (*alias != '\0' && word == QLatin1String(alias));
}

const OptionUsage* CommandUsage::option(QStringView word) const
{
    for (const OptionUsage& candidate : options) {
        if (candidate.named(word))
            return &candidate;
    }
    return nullptr;
}

const CommandUsage* ProgramUsage::command(QStringView word) const
{
    for (const CommandUsage& candidate : commands) {
        if (word == QLatin1String(candidate.name))
            return &candidate;
    }
    return nullptr;
}

const OptionUsage& helpOption()
{
    static const OptionUsage help{"-h", "", "print this help", "--help"};
    return help;
}

} // namespace qv::usage
