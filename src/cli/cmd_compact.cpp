#include "cli/commands.h"
#include "cli/terminal_prompter.h"

#include "common/error.h"
#include "common/safe_file.h"
#include "store/compaction.h"
#include "usage/usage_messages.h"

#include <QFileInfo>
#include <QTextStream>

namespace qv::cli {

int runCompact(const QStringList& args, const Options& options)
{
    if (args.size() != 1)
        return usage::usageError("compact");
    const QString path = QFileInfo(args[0]).absoluteFilePath();
    TerminalPrompter terminal(options.yes, {});
    Prompter& prompter = terminal;
    prompter.setStatus(1, QStringLiteral("Optimizing Database...Please Standby!"));
    try {
        store::compactDatabase(path);
    } catch (const Error& error) {
        prompter.errorMessage(store::compactionFailureText(error), QStringLiteral("Compact"),
                              Icon::Exclamation);
        return 1;
    }
    StandardOutput::instance().write(QStringLiteral("Compacted ") + path + QLatin1Char('\n'));
    return 0;
}

} // namespace qv::cli
