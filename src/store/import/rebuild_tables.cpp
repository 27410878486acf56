#include "common/error.h"
#include "store/auction_schema.h"
#include "store/import/auction_builder.h"
#include "store/import/import_routines.h"
#include "store/saved_query.h"
#include "store/session.h"
#include "store/user_tables.h"

#include <functional>

namespace qv {

namespace {

// Which rows to rebuild, by the name their table is listed under.
using Wanted = std::function<bool(const QString& listed)>;

QString textOf(const store::Recordset& rs, int row, const QString& field)
{
    const QVariant v = rs.at(row, rs.fieldIndex(field));
    return v.isNull() ? QString() : v.toString();
}

enum class Step { Rebuilt, Open, Failed, Stopped };

const QString OpenStatus =
    QStringLiteral("Can NOT Refresh User-Defined Table Due To Open! Please Rebuild It Manually");

// How a failed table is told: the engine's error, then the table it leaves.
Error failureOf(const Error& e, const QString& listed)
{
    return Error(e.number(), e.description() + QStringLiteral("\rThe user defined table '") + listed +
                                 QStringLiteral("' was not rebuilt: it keeps its earlier rows."));
}

// One table, whole or not at all: a table open in a window, a stop request
// and a failure leave it as it was. A failure is told (tell) and noted in
// run.failed; the caller goes on with the next table.
Step rebuildOne(RebuildRun& run, const QString& listed, const std::function<void()>& work,
                const std::function<void(const Error&)>& tell)
{
    QStringList& outOfDate = session().OutOfDateTables;
    try {
        work();
        outOfDate.removeIf([&](const QString& t) { return t.compare(listed, Qt::CaseInsensitive) == 0; });
        return Step::Rebuilt;
    } catch (const Error& e) {
        if (e.number() == err::TableInUse) {
            if (!outOfDate.contains(listed, Qt::CaseInsensitive))
                outOfDate << listed;
            if (!run.open.contains(listed, Qt::CaseInsensitive))
                run.open << listed;
            return Step::Open;
        }
        if (e.number() == err::OperationCancelled) {
            run.stopped = true;
            return Step::Stopped;
        }
        if (!run.failed.contains(listed, Qt::CaseInsensitive))
            run.failed << listed;
        tell(failureOf(e, listed));
        return Step::Failed;
    }
}

const QString FailedStatus = QStringLiteral(
    "Could NOT Rebuild Every User-Defined Table! See The Messages; They Keep Their Earlier Rows");

std::function<void(const Error&)> tellQueryError(ImportHost& host)
{
    return [&host](const Error& e) {
        host.prompter.errorMessage(QStringLiteral("User's Error:") + QString::number(e.number()) +
                                       QStringLiteral(" ") + e.description(),
                                   QStringLiteral("USER'S SQL ERROR"), Icon::Information);
    };
}

void reportStop(ImportHost& host, const QString& listed)
{
    host.prompter.errorMessage(QStringLiteral("The rebuild of the user defined tables was stopped at '") +
                                   listed +
                                   QStringLiteral("': it and the tables after it keep their earlier rows "
                                                  "until the next import."),
                               QStringLiteral("Rebuild Stopped"), Icon::Exclamation);
}

bool rebuildWizardRows(ImportHost& host, RebuildRun& run, const Wanted& wanted)
{
    store::Database& db = *session().CurrentDatabase;
    try {
        auto rs = db.openRecordset(QStringLiteral("SELECT [Table Name], [SQL String] FROM [sysWizard]"),
                                   store::RecordsetType::Snapshot);
        for (int row = 0; row < rs->recordCount(); ++row) {
            const QString listed = textOf(*rs, row, QStringLiteral("Table Name"));
            if (wanted && !wanted(listed))
                continue;
            // The table keeps its sysTables entry.
            const QString statement = textOf(*rs, row, QStringLiteral("SQL String"));
            const auto tell = [&](const Error& e) { showGenericError(host.prompter, e); };
            if (rebuildOne(
                    run, listed, [&] { store::replaceBuiltTable(db, statement); }, tell) == Step::Stopped) {
                reportStop(host, listed);
                return false;
            }
        }
    } catch (const Error& e) {
        // The saved definitions themselves cannot be read.
        run.failed << QStringLiteral("sysWizard");
        showGenericError(host.prompter, e);
    }
    return true;
}

bool rebuildQueryRows(ImportHost& host, RebuildRun& run, const Wanted& wanted)
{
    Session& s = session();
    store::Database& db = *s.CurrentDatabase;
    host.prompter.setStatus(1, QStringLiteral("Auto-Rebuilding Customized Table(s)...Please Standby!"));
    auto rs =
        db.openRecordset(QStringLiteral("SELECT * FROM sysQueryBuilder"), store::RecordsetType::Snapshot);
    if (rs->recordCount() == 0)
        return true;
    try {
        for (int row = 0; row < rs->recordCount(); ++row) {
            const store::SqlQuery query = store::savedQueryAt(*rs, row);
            if (query.into.trimmed().isEmpty())
                continue;
            const QString listed = store::schema::listedTableName(query.into);
            if (wanted && !wanted(listed))
                continue;
            s.RebuildTableName = query.into;
            if (rebuildOne(
                    run, listed, [&] { store::buildQueryTable(db, query); }, tellQueryError(host)) ==
                Step::Stopped) {
                reportStop(host, listed);
                return false;
            }
        }
    } catch (const Error& e) {
        // The saved queries themselves cannot be read.
        run.failed << QStringLiteral("sysQueryBuilder");
        tellQueryError(host)(e);
    }
    host.prompter.setStatus(1, !run.open.isEmpty() ? OpenStatus
                               : !run.failed.isEmpty()
                                   ? FailedStatus
                                   : QStringLiteral("Completed Auto-Rebuilding Customized Table(s)!"));
    return true;
}

} // namespace

bool RebuildWizardTables(ImportHost& host, RebuildRun& run)
{
    return rebuildWizardRows(host, run, {});
}

bool RebuildQueryTables(ImportHost& host, RebuildRun& run)
{
    return rebuildQueryRows(host, run, {});
}

void RebuildReleasedTables(ImportHost& host)
{
    Session& s = session();
    if (s.CurrentDatabase == nullptr || !s.CurrentDatabase->isOpen())
        return;
    QStringList released;
    for (const QString& table : s.OutOfDateTables)
        if (!s.CurrentDatabase->isHeld(table))
            released << table;
    if (released.isEmpty())
        return;
    // One try each: a table whose rebuild fails now waits for the next import.
    for (const QString& table : released)
        s.OutOfDateTables.removeAll(table);
    const Wanted wanted = [&released](const QString& listed) {
        return released.contains(listed, Qt::CaseInsensitive);
    };
    RebuildRun run;
    try {
        if (rebuildWizardRows(host, run, wanted))
            rebuildQueryRows(host, run, wanted);
    } catch (const Error& e) {
        showGenericError(host.prompter, e);
    }
}

} // namespace qv
