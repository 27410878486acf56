#include "usage/usage_messages.h"

#include "common/error.h"
#include "common/safe_file.h"
#include "usage/argument_check.h"
#include "usage/terminal_help.h"

#include <QTextStream>

namespace qv::usage {

int usageError(const char* command, const QString& problem)
{
    QTextStream err(stderr);
    if (!problem.isEmpty())
        err << cliUsage().name << ' ' << command << ": " << problem << '\n';
    const CommandUsage* usage = cliUsage().command(QString::fromUtf8(command));
    err << (usage ? commandHelp(cliUsage(), *usage) : programHelp(cliUsage()));
    return badCommandLine;
}

std::optional<int> answerUsageOptions(const CommandUsage& command, const QStringList& args)
{
    const ArgumentCheck check = checkArguments(command, args);
    switch (check.outcome) {
    case ArgumentCheck::Outcome::Help:
        return printOnStandardOutput(commandHelp(cliUsage(), command));
    case ArgumentCheck::Outcome::UnknownOption:
        return usageError(command.name, QStringLiteral("unknown option ") + check.option);
    case ArgumentCheck::Outcome::Run:
        break;
    }
    return std::nullopt;
}

int printOnStandardOutput(const QString& text)
{
    // A failure is said on standard error, as every command's is.
    StandardOutput& out = StandardOutput::instance();
    out.writeMessage(text);
    return out.finish(0);
}

} // namespace qv::usage
