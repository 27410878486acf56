#include "cli/commands.h"
#include "cli/terminal_prompter.h"

#include "common/error.h"
#include "common/safe_file.h"
#include "query/core/saved_queries.h"
#include "query/core/sql_query.h"
#include "store/database.h"
#include "usage/usage_messages.h"

#include <QTextStream>

namespace qv::cli {

namespace {

int usageError()
{
    return usage::usageError("query");
}

void list(store::Database& database)
{
    StandardOutput& out = StandardOutput::instance();
    out.write(QByteArray("Query Name\tSelect\tInto\tFrom\tWhere\tOrder By\n"));
    for (const query::SqlQuery& q : query::SavedQueries(database).all()) {
        QStringList cells;
        for (int digit : {5, 0, 1, 2, 3, 4})
            cells << q.clause(digit);
        out.write(cells.join(QLatin1Char('\t')) + QLatin1Char('\n'));
    }
}

// add NAME --select S --into T --from F [--where W] [--order O]
bool parseAdd(const QStringList& args, query::SqlQuery& q)
{
    if (args.isEmpty())
        return false;
    q.name = args[0];
    for (qsizetype i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return false;
        const QString& option = args[i];
        const QString& value = args[i + 1];
        if (option == QLatin1String("--select"))
            q.select = value;
        else if (option == QLatin1String("--into"))
            q.into = value;
        else if (option == QLatin1String("--from"))
            q.from = value;
        else if (option == QLatin1String("--where"))
            q.where = value;
        else if (option == QLatin1String("--order"))
            q.order = value;
        else
            return false;
    }
    return true;
}

} // namespace

int runQuery(const QStringList& args, const Options& options)
{
    if (args.size() < 2)
        return usageError();
    const QString action = args[1];
    const QStringList rest = args.mid(2);
    TerminalPrompter terminal(options.yes, {});
    Prompter& prompter = terminal;
    const QString title = QStringLiteral("Quorvane");
    try {
        auto database = store::Database::open(args[0]);
        query::SavedQueries saved(*database);
        if (action == QLatin1String("list") && rest.isEmpty()) {
            list(*database);
            return 0;
        }
        if (action == QLatin1String("add")) {
            query::SqlQuery q;
            if (!parseAdd(rest, q))
                return usageError();
            if (q.name.trimmed().isEmpty() || q.select.isEmpty() || q.into.isEmpty() || q.from.isEmpty()) {
                prompter.errorMessage(QStringLiteral("A query needs its name and SELECT, INTO and FROM."),
                                      title);
                return 1;
            }
            saved.add(q);
            return 0;
        }
        if ((action != QLatin1String("run") && action != QLatin1String("delete")) || rest.size() != 1)
            return usageError();
        const std::optional<query::SqlQuery> q = saved.find(rest[0]);
        if (!q) {
            prompter.errorMessage(QStringLiteral("No saved query named '") + rest[0] + QLatin1Char('\''),
                                  title);
            return 1;
        }
        if (action == QLatin1String("delete")) {
            saved.remove(q->name);
            return 0;
        }
        if (q->select.isEmpty() || q->into.isEmpty() || q->from.isEmpty()) {
            prompter.errorMessage(QStringLiteral("SELECT, INTO, and FROM are required fields."),
                                  QStringLiteral("Error"), Icon::Exclamation);
            return 1;
        }
        const QString listed = query::runSqlQuery(*database, *q);
        // One line for scripts: the box's three lines joined by single blanks.
        prompter.message(query::finishedBuildingText(listed).simplified(), title);
        return terminal.sawError() ? 1 : 0;
    } catch (const Error& error) {
        prompter.error(error, ErrorLayout::Report, title);
        return 1;
    }
}

} // namespace qv::cli
