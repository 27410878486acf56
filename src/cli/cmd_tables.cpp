#include "cli/commands.h"

#include "common/error.h"
#include "common/safe_file.h"
#include "store/database.h"
#include "usage/usage_messages.h"

#include <QTextStream>

namespace qv::cli {

// The tables a grid window's table list offers, one name a line: what the
// shell's completion offers after a command's DB.
int runTables(const QStringList& args, const Options&)
{
    if (args.size() != 1)
        return usage::usageError("tables");
    try {
        auto database = store::Database::open(args[0]);
        auto rows = database->openRecordset(QStringLiteral("SELECT * FROM [sysTables]"),
                                            store::RecordsetType::Snapshot);
        QString names;
        for (; !rows->eof(); rows->moveNext())
            names += rows->value(QStringLiteral("TableName")).toString() + QLatin1Char('\n');
        StandardOutput::instance().write(names);
        StandardOutput::instance().flush();
        return 0;
    } catch (const Error& error) {
        QTextStream(stderr) << errorText(ErrorLayout::Report, error) << '\n';
        return 1;
    }
}

} // namespace qv::cli
