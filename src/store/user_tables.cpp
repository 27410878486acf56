#include "store/user_tables.h"

#include "common/error.h"
#include "store/auction_schema.h"
#include "store/database.h"
#include "store/dialect/translator.h"
#include "store/savepoint.h"
#include "store/sql_quote.h"

#include <optional>

namespace qv::store {

namespace {

QStringList firstColumn(Database& db, const QString& statement)
{
    auto rows = db.openRecordset(statement, RecordsetType::Snapshot);
    QStringList values;
    for (int row = 0; row < rows->recordCount(); ++row)
        values << rows->at(row, 0).toString();
    return values;
}

bool isEngineTable(const QString& table)
{
    return table.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive) ||
           table.startsWith(QLatin1String("MSys"));
}

// A bare name is one word as the dialect reads it; a bracketed one holds no
// bracket itself.
bool isOneTableName(const QString& into)
{
    const QString name = into.trimmed();
    if (name.startsWith(QLatin1Char('[')))
        return name.size() > 2 && name.endsWith(QLatin1Char(']')) &&
               !name.mid(1, name.size() - 2).contains(QLatin1Char('[')) &&
               !name.mid(1, name.size() - 2).contains(QLatin1Char(']'));
    if (name.isEmpty() || !(name[0].isLetter() || name[0] == QLatin1Char('_') || name[0] == QLatin1Char('$')))
        return false;
    for (const QChar c : name)
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$')))
            return false;
    return true;
}

// The name shown on one line: a tab or a line break in it as \t, \r, \n.
QString oneLine(QString name)
{
    return name.replace(QLatin1Char('\t'), QLatin1String("\\t"))
        .replace(QLatin1Char('\r'), QLatin1String("\\r"))
        .replace(QLatin1Char('\n'), QLatin1String("\\n"));
}

bool hasControlCharacter(const QString& name)
{
    for (const QChar c : name)
        if (c.category() == QChar::Other_Control)
            return true;
    return false;
}

// Why a table the user builds may not take this new name, though no table
// of ours holds it; an error of its own, or none.
std::optional<Error> newNameError(Database& db, const QString& table)
{
    const QString cannot = QStringLiteral(": a table you build cannot take its name.");
    // Every list of tables prints one name a line.
    if (hasControlCharacter(table))
        return Error(err::InvalidName,
                     QStringLiteral("The table name '%1' holds a tab or a line break").arg(oneLine(table)) +
                         cannot);
    // The work tables of a rebuild are qv_build:NAME: a user's table of such
    // a name would be dropped by the rebuild of another.
    if (table.startsWith(QLatin1String("qv_"), Qt::CaseInsensitive))
        return Error(
            err::NoPermission,
            QStringLiteral("'%1' begins with qv_, which Quorvane keeps for its own work tables").arg(table) +
                cannot);
    QString bare = table;
    while (bare.endsWith(QLatin1Char(' ')))
        bare.chop(1);
    if (bare != table && !bare.isEmpty() && !protectedTableProblem(db, bare).isEmpty())
        return Error(
            err::NoPermission,
            QStringLiteral("'%1' differs from '%2', a table you may not build, only by blanks at its end")
                    .arg(table, bare) +
                cannot);
    return std::nullopt;
}

std::optional<Error> intoError(Database& db, const QString& into)
{
    if (!isOneTableName(into))
        return Error(err::InvalidName, QStringLiteral("The Into text '%1' is not one table name: put the "
                                                      "name in square brackets, as in [Top Bids].")
                                           .arg(oneLine(into)));
    const QString table = schema::listedTableName(into);
    const QString problem = protectedTableProblem(db, table);
    if (problem.isEmpty())
        return newNameError(db, table);
    return Error(err::NoPermission, problem);
}

// Why a table is not the user's to build over, change or drop ("'sysRounds'
// is one of Quorvane's own tables"); empty when it is.
QString protectedTableReason(Database& db, const QString& table)
{
    // The engine takes SYSROUNDS for sysRounds: the name it would reach counts too.
    QStringList names{table};
    for (const QString& existing : db.tableNames())
        if (existing.compare(table, Qt::CaseInsensitive) == 0)
            names << existing;
    for (const QString& name : names) {
        if (isEngineTable(name))
            return QStringLiteral("'%1' is one of the database engine's own tables").arg(table);
        if (schema::isSystemTable(name))
            return QStringLiteral("'%1' is one of Quorvane's own tables").arg(table);
    }
    const QStringList supplied =
        firstColumn(db, QStringLiteral("SELECT [TableName] FROM [sysSuppliedTables]"));
    if (supplied.contains(table, Qt::CaseInsensitive))
        return QStringLiteral("'%1' is a table of the round results files").arg(table);
    return {};
}

} // namespace

QString protectedTableProblem(Database& db, const QString& table)
{
    const QString reason = protectedTableReason(db, table);
    return reason.isEmpty() ? reason : reason + QStringLiteral(": a table you build cannot take its name.");
}

void requireChangeableTarget(Database& db, const QString& statement)
{
    const dialect::Translation tr = dialect::translate(statement);
    // A query reads any table; INSERT ... IN writes into another database.
    if (tr.kind == dialect::StatementKind::Select || tr.kind == dialect::StatementKind::InsertIn)
        return;
    const QString reason = protectedTableReason(db, tr.target);
    if (!reason.isEmpty())
        throw Error(err::NoPermission, QStringLiteral("Access to %1 denied: %2, which a statement may read "
                                                      "(SELECT) but not change.")
                                           .arg(tr.target, reason));
}

bool isUserTable(Database& db, const QString& table)
{
    try {
        return protectedTableProblem(db, table).isEmpty() &&
               firstColumn(db, QStringLiteral("SELECT [TableName] FROM [sysTables]"))
                   .contains(table, Qt::CaseInsensitive);
    } catch (const Error&) {
        return false;
    }
}

QString intoProblem(Database& db, const QString& into)
{
    const std::optional<Error> error = intoError(db, into);
    return error ? error->description() : QString();
}

void requireNewTableName(Database& db, const QString& table)
{
    if (const std::optional<Error> error = newNameError(db, table))
        throw *error;
}

void requireBuildableInto(Database& db, const QString& into)
{
    if (const std::optional<Error> error = intoError(db, into))
        throw *error;
}

QString replaceBuiltTable(Database& db, const QString& statement, const std::function<void()>& list)
{
    const QString target = Database::makeTableTarget(statement);
    if (const QString problem = protectedTableProblem(db, target); !problem.isEmpty())
        throw Error(err::NoPermission, problem);
    requireNewTableName(db, target);
    db.requireNotHeld(target);
    const QString fresh = QStringLiteral("qv_build:") + target;
    // Inside a caller's transaction a savepoint; else one that takes the
    // write lock at once, waiting while another program writes.
    std::optional<Savepoint> nested;
    std::optional<WriteTransaction> own;
    if (db.inTransaction())
        nested.emplace(db.handle(), QStringLiteral("qv_replace"));
    else
        own.emplace(db.handle());
    if (db.tableExists(fresh))
        db.execute(QStringLiteral("DROP TABLE ") + bracketName(fresh));
    db.makeTableAs(statement, fresh);
    if (db.tableExists(target))
        db.execute(QStringLiteral("DROP TABLE ") + bracketName(target));
    db.renameTable(fresh, target);
    if (list)
        list();
    if (nested)
        nested->release();
    else
        own->commit();
    return target;
}

} // namespace qv::store
