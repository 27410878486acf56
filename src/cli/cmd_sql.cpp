#include "cli/commands.h"
#include "cli/table_output.h"

#include "common/error.h"
#include "store/database.h"
#include "store/dialect/translator.h"
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
            db->execute(statement);
        }
        return 0;
    } catch (const Error& e) {
        out.writeMessage(errorText(ErrorLayout::Report, e) + QLatin1Char('\n'));
        return 1;
    }
}

} // namespace qv::cli
