#include "cli/commands.h"
#include "cli/table_output.h"

#include "common/error.h"
#include "store/database.h"
#include "store/dialect/translator.h"
#include "store/user_tables.h"
#include "usage/usage_messages.h"

#include <QTextStream>

namespace qv::cli {

int runSql(const QStringList& given, const Options&)
{
    QStringList args = given;
    OutputFormat format = OutputFormat::Tsv;
    if (!takeFormatOption(args, format))
        return 2;
    StandardOutput& out = StandardOutput::instance();
    if (args.size() != 2)
        return usage::usageError("sql");
    try {
        auto db = store::Database::open(args[0]);
        const QString statement = args[1];
        const auto kind = store::dialect::translate(statement).kind;
        if (kind == store::dialect::StatementKind::Select) {
            writeTable(out, *db->openRowStream(statement), format);
        } else {
            // The tables the program and the round files keep are changed
            // only by imports, as drop refuses them too.
            store::requireChangeableTarget(*db, statement);
            db->execute(statement);
        }
        return 0;
    } catch (const Error& e) {
        out.reportError(errorText(ErrorLayout::Report, e));
        return 1;
    }
}

} // namespace qv::cli
