#include "cli/commands.h"
#include "cli/table_output.h"
#include "cli/table_rows.h"

#include "common/error.h"
#include "common/statement_values.h"
#include "store/database.h"
#include "store/newest_round.h"
#include "usage/usage_messages.h"

#include <QTextStream>

namespace qv::cli {

int runShow(const QStringList& given, const Options&)
{
    QStringList args = given;
    OutputFormat format = OutputFormat::Tsv;
    if (!takeFormatOption(args, format))
        return 2;
    const bool whole = args.removeAll(QStringLiteral("--all")) > 0;
    if (args.size() < 2 || args.size() > (whole ? 2 : 3))
        return usage::usageError("show");
    if (args.size() == 3 && !isRoundNumber(args[2]))
        return usage::usageError("show", QStringLiteral("ROUND must be a whole number: ") + args[2]);
    StandardOutput& out = StandardOutput::instance();
    try {
        auto database = store::Database::open(args[0]);
        const QString table = args[1];
        if (whole) {
            writeTable(out, *openTableRows(*database, table, {}), format);
            return 0;
        }
        const QString round = args.size() == 3 ? args[2] : store::newestRound(*database);
        if (round.isEmpty()) {
            QTextStream(stderr) << "No round has been imported\n";
            return 1;
        }
        if (args.size() == 3)
            store::requireImportedRound(*database, round);
        writeTable(out, *openTableRows(*database, table, round), format);
        return 0;
    } catch (const Error& error) {
        out.reportError(errorText(ErrorLayout::Report, error));
        return 1;
    }
}

} // namespace qv::cli
