#include "store/sqlite_error.h"

#include "common/error.h"

#include <QRegularExpression>

#include <sqlite3.h>

namespace qv::store {

namespace {

// The text after a prefix such as "no such table: ", without a schema name.
QString after(const QString& message, QLatin1String prefix)
{
    QString rest = message.mid(message.indexOf(prefix) + prefix.size()).trimmed();
    if (rest.startsWith(QLatin1String("main.")))
        rest = rest.mid(5);
    return rest;
}

// SQLite names the dialect's functions by the names they are registered
// under (qv_left()); the user wrote Left().
QString withDialectNames(QString message)
{
    static const QRegularExpression registered(QStringLiteral("\\bqv_([a-z_]+)(?=\\()"));
    QRegularExpressionMatch m;
    qsizetype from = 0;
    while ((m = registered.match(message, from)).hasMatch()) {
        QString name = m.captured(1);
        name[0] = name[0].toUpper();
        message.replace(m.capturedStart(), m.capturedLength(), name);
        from = m.capturedStart() + name.size();
    }
    return message;
}

} // namespace

Error inputTableNotFound(const QString& name)
{
    return Error(err::TableNotFound,
                 QStringLiteral("The database engine cannot find the input table or query "
                                "'%1'. Make sure it exists and that its name is spelled "
                                "correctly.")
                     .arg(name));
}

namespace {

[[noreturn]] void raiseSyntaxError(const QString& message, const QString& context)
{
    throw Error(err::SyntaxError,
                QStringLiteral("Syntax error in query expression: %1%2")
                    .arg(message, context.isEmpty()
                                      ? QString()
                                      : QStringLiteral(" in '") + context.left(200) + QLatin1Char('\'')));
}

// SQLITE_ERROR covers every fault of a statement's text; SQLite gives no
// code of its own for a missing table, column or function, nor for a
// syntax error, so only its wording tells them apart.
[[noreturn]] void raiseStatementError(const QString& message, const QString& context)
{
    if (message.contains(QLatin1String("no such table: ")))
        throw inputTableNotFound(after(message, QLatin1String("no such table: ")));
    if (message.contains(QLatin1String("no such column: ")))
        throw Error(err::UnknownColumn,
                    QStringLiteral("Too few parameters. Expected 1: '%1' is not a column of "
                                   "the tables in the statement.")
                        .arg(after(message, QLatin1String("no such column: "))));
    if (message.contains(QLatin1String("already exists")) && message.startsWith(QLatin1String("table ")))
        throw Error(err::TableExists,
                    QStringLiteral("Table '%1' already exists.")
                        .arg(message.mid(6, message.indexOf(QLatin1String(" already exists")) - 6)));
    if (message.contains(QLatin1String("no such function: ")))
        throw Error(err::UndefinedFunction, QStringLiteral("Undefined function '%1' in expression.")
                                                .arg(after(message, QLatin1String("no such function: "))));
    // SQLite's own limits on nesting: calls and brackets too deep for its parser.
    if (message.contains(QLatin1String("parser stack overflow")) ||
        message.contains(QLatin1String("Expression tree is too large")) ||
        message.contains(QLatin1String("too many levels of trigger recursion")))
        throw Error(err::QueryTooComplex,
                    QStringLiteral("Query is too complex: '%1' nests its brackets or calls too deep.")
                        .arg(context.trimmed().left(200)));
    if (message.contains(QLatin1String("syntax error")) ||
        message.contains(QLatin1String("incomplete input")) ||
        message.contains(QLatin1String("wrong number of arguments")) ||
        message.contains(QLatin1String("misuse")))
        raiseSyntaxError(message, context);
    throw Error(err::EngineFailure, message);
}

Error nullInKey(const QString& message)
{
    return Error(err::NullInKey, QStringLiteral("Index or primary key cannot contain a Null value (%1).")
                                     .arg(message.mid(message.indexOf(QLatin1Char(':')) + 1).trimmed()));
}

// A constraint's kind is in the code; which column or which of our checks
// failed is only in the text.
[[noreturn]] void raiseConstraintError(int rc, const QString& message)
{
    switch (rc) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        throw Error(err::DuplicateKey,
                    QStringLiteral("The changes you requested to the table were not successful because they "
                                   "would create duplicate values in the index or primary key (%1).")
                        .arg(after(message, QLatin1String("failed: "))));
    case SQLITE_CONSTRAINT_NOTNULL:
        throw nullInKey(message);
    case SQLITE_CONSTRAINT_CHECK:
        // Our column length checks are named qv_len:<column>.
        if (message.contains(QLatin1String("qv_len:")))
            throw Error(err::FieldTooSmall,
                        QStringLiteral("The field '%1' is too small to accept the amount of data "
                                       "you attempted to add.")
                            .arg(after(message, QLatin1String("qv_len:"))));
        break;
    case SQLITE_CONSTRAINT_TRIGGER:
        // Our key triggers refuse a Null with qv_null:<column>.
        if (message.contains(QLatin1String("qv_null:")))
            throw nullInKey(message);
        break;
    default:
        break;
    }
    throw Error(err::EngineFailure, message);
}

} // namespace

void raiseSqliteMessage(int rc, const QString& sqliteMessage, const QString& context)
{
    const int primary = rc & 0xff;
    const QString message =
        sqliteMessage.contains(QLatin1String("qv_error:")) ? sqliteMessage : withDialectNames(sqliteMessage);
    // Our own SQL functions can hand SQLite only a text: they fail with
    // "qv_error:<number>:<description>".
    static const QLatin1String ownError("qv_error:");
    if (const qsizetype at = message.indexOf(ownError); at >= 0) {
        const qsizetype colon = message.indexOf(QLatin1Char(':'), at + ownError.size());
        bool numbered = false;
        const int number = message.mid(at + ownError.size(), colon - at - ownError.size()).toInt(&numbered);
        if (colon > 0 && numbered)
            throw Error(number, message.mid(colon + 1));
    }
    switch (primary) {
    case SQLITE_ERROR:
    case SQLITE_MISUSE: // "misuse of aggregate" and the like are the statement's
        raiseStatementError(message, context);
    case SQLITE_CONSTRAINT:
        raiseConstraintError(rc, message);
    case SQLITE_NOTADB:
        throw Error(err::NotADatabase, QStringLiteral("Unrecognized database format '%1'.").arg(context));
    case SQLITE_CANTOPEN:
        throw Error(err::EngineFileNotFound, QStringLiteral("Could not find file '%1'.").arg(context));
    case SQLITE_BUSY:
        throw Error(err::FileInUse,
                    QStringLiteral("The database '%1' is in use by another program, which did not let go of "
                                   "it within a few seconds. Close that program and try again.")
                        .arg(context));
    case SQLITE_LOCKED:
        throw Error(err::TableInUse,
                    QStringLiteral("The table is in use by another person or process (%1).").arg(message));
    case SQLITE_READONLY:
        throw Error(err::ReadOnlyDatabase, QStringLiteral("Cannot update. Database or object is read-only."));
    case SQLITE_CORRUPT:
        throw Error(err::NotADatabase,
                    QStringLiteral("The database '%1' is damaged: %2").arg(context, message));
    case SQLITE_INTERRUPT:
        // Only a stop request interrupts a statement: what it was doing is undone.
        throw Error(err::OperationCancelled, QStringLiteral("Operation canceled by user."));
    case SQLITE_FULL:
        throw Error(
            err::EngineDiskFull,
            QStringLiteral("The disk is full: '%1' cannot grow (%2). Make room on the disk and try again.")
                .arg(context, message));
    default:
        break;
    }
    throw Error(err::EngineFailure, message);
}

QString errorContext(sqlite3* db, int rc, const QString& context)
{
    const int primary = rc & 0xff;
    const char* file = db ? sqlite3_db_filename(db, "main") : nullptr;
    if ((primary == SQLITE_BUSY || primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB ||
         primary == SQLITE_FULL) &&
        file && *file)
        return QString::fromUtf8(file);
    return context;
}

void raiseSqliteError(sqlite3* db, int rc, const QString& context)
{
    raiseSqliteMessage(rc, QString::fromUtf8(sqlite3_errmsg(db)), errorContext(db, rc, context));
}

} // namespace qv::store
