#include "cli/commands.h"
#include "cli/table_output.h"

#include "common/error.h"
#include "grid/core/table_statements.h"
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
    QTextStream out(stdout);
    if (args.size() < 2 || args.size() > 3)
        return usage::usageError("show");
    try {
        auto database = store::Database::open(args[0]);
        const QString table = args[1];
        const QString round = args.size() == 3 ? args[2] : store::newestRound(*database);
        if (round.isEmpty()) {
            QTextStream(stderr) << "No round has been imported\n";
            return 1;
        }
        const grid::TableLoad load = grid::loadTable(*database, table, round);
        writeTable(out, *load.rows, format);
        return 0;
    } catch (const Error& error) {
        out << errorText(ErrorLayout::Report, error) << '\n';
        return 1;
    }
}

} // namespace qv::cli
