#include "usage/argument_check.h"

namespace qv::usage {

namespace {

bool looksLikeOption(const QString& arg)
{
    return arg.size() > 1 && arg.startsWith(QLatin1Char('-'));
}

} // namespace

ArgumentCheck checkArguments(const CommandUsage& command, const QStringList& args)
{
    ArgumentCheck check;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (helpOption().named(args[i]))
            return {ArgumentCheck::Outcome::Help, {}};
        const OptionUsage* option = command.option(args[i]);
        if (option && option->takesValue())
            ++i;
        else if (!option && looksLikeOption(args[i]) && check.outcome == ArgumentCheck::Outcome::Run)
            check = {ArgumentCheck::Outcome::UnknownOption, args[i]};
    }
    return check;
}

} // namespace qv::usage
