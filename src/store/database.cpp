#include "store/database.h"

#include "common/error.h"
#include "store/connection_schema.h"
#include "store/dialect/translator.h"
#include "store/open_databases.h"
#include "store/own_schema.h"
#include "store/record_reader.h"
#include "store/row_copy.h"
#include "store/row_stream.h"
#include "store/savepoint.h"
#include "store/sql_quote.h"
#include "store/sqlite_error.h"
#include "store/sqlite_statement.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

namespace qv::store {

using dialect::StatementKind;
using dialect::Translation;

namespace {

// Every connection to an auction or round file: its statements are in the
// program's dialect, and another program's lock is waited for a few seconds.
Connection openConnection(const QString& path, ConnectionSetup::Access access)
{
    ConnectionSetup setup;
    setup.access = access;
    setup.uri = true;
    setup.busyWait = std::chrono::seconds(5);
    setup.dialect = true;
    return Connection(path, setup);
}

bool hasJetHeader(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(32);
    return head.mid(4, 15) == QByteArrayLiteral("Standard Jet DB") ||
           head.mid(4, 15) == QByteArrayLiteral("Standard ACE DB");
}

} // namespace

Database::Database(QString path, Connection db, bool readOnly)
    : path_(std::move(path)), db_(std::move(db)), readOnly_(readOnly)
{
}

Database::~Database()
{
    close();
}

std::shared_ptr<Database> Database::open(const QString& path)
{
    return openFile(path, true);
}

std::shared_ptr<Database> Database::openRound(const QString& path)
{
    return openFile(path, false);
}

std::shared_ptr<Database> Database::openFile(const QString& path, bool refuseForeignObjects)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw Error(err::EngineFileNotFound, QStringLiteral("Could not find file '%1'.").arg(path));
    if (hasJetHeader(path))
        return openJet(path);
    Connection db = openConnection(path, ConnectionSetup::Access::ReadWrite);
    try {
        // A file that is not a database fails on its first read.
        exec(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (const Error&) {
        throw Error(err::NotADatabase, QStringLiteral("Unrecognized database format '%1'.").arg(path));
    }
    if (refuseForeignObjects)
        refuseForeignSchemaObjects(db, path);
    std::shared_ptr<Database> database(new Database(info.absoluteFilePath(), std::move(db), false));
    openDatabases().add(database);
    return database;
}

std::shared_ptr<Database> Database::create(const QString& path)
{
    if (QFileInfo::exists(path))
        throw Error(err::DatabaseExists, QStringLiteral("Database '%1' already exists.").arg(path));
    std::shared_ptr<Database> database(new Database(
        QFileInfo(path).absoluteFilePath(), openConnection(path, ConnectionSetup::Access::Create), false));
    openDatabases().add(database);
    return database;
}

void Database::compact(const QString& sourcePath, const QString& destinationPath)
{
    if (!QFileInfo::exists(sourcePath))
        throw Error(err::EngineFileNotFound, QStringLiteral("Could not find file '%1'.").arg(sourcePath));
    if (QFileInfo::exists(destinationPath))
        throw Error(err::DatabaseExists,
                    QStringLiteral("Database '%1' already exists.").arg(destinationPath));
    Connection db = openConnection(sourcePath, ConnectionSetup::Access::ReadOnly);
    try {
        exec(db, QStringLiteral("VACUUM INTO ") + quoteText(destinationPath));
    } catch (...) {
        QFile::remove(destinationPath);
        throw;
    }
}

SchemaCache& Database::schemaCache()
{
    if (!schemaCache_)
        schemaCache_ = std::make_unique<SchemaCache>(db_);
    return *schemaCache_;
}

void Database::close()
{
    if (!db_)
        return;
    schemaCache_.reset(); // its statements go before the connection
    if (sqlite3_get_autocommit(db_) == 0)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    db_.close();
    openDatabases().remove(this);
}

void Database::requireOpen() const
{
    if (!db_)
        throw Error(err::ObjectInvalid,
                    QStringLiteral("Object invalid or no longer set: the database is closed."));
}

void Database::requireWritable() const
{
    if (readOnly_)
        throw Error(err::ReadOnlyDatabase,
                    QStringLiteral("Cannot update. Database or object is read-only ('%1').").arg(path_));
}

bool Database::tableExists(const QString& table) const
{
    requireOpen();
    Statement s(db_, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ") +
                         quoteText(table) + QStringLiteral(" COLLATE NOCASE"));
    return s.step();
}

QStringList Database::columnNames(const QString& table) const
{
    requireOpen();
    QStringList names;
    Statement s(db_, QStringLiteral("SELECT name FROM pragma_table_info(") + quoteText(table) +
                         QStringLiteral(") ORDER BY cid"));
    while (s.step())
        names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0)));
    return names;
}

QStringList Database::tableNames() const
{
    requireOpen();
    if (!engineTables_.isEmpty())
        return engineTables_;
    QStringList names;
    Statement s(db_, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid"));
    while (s.step())
        names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0)));
    return names;
}

void Database::createIndexIfMissing(const QString& index, const QString& table, const QString& column)
{
    createIndexIfMissing(index, table, QStringList{column});
}

void Database::createIndexIfMissing(const QString& index, const QString& table, const QStringList& columns)
{
    requireOpen();
    requireWritable();
    QStringList quoted;
    for (const QString& column : columns)
        quoted << quoteName(column);
    exec(db_, QStringLiteral("CREATE INDEX IF NOT EXISTS ") + quoteName(index) + QStringLiteral(" ON ") +
                  quoteName(table) + QStringLiteral(" (") + quoted.join(QStringLiteral(", ")) +
                  QLatin1Char(')'));
}

void Database::attachSource(const QString& path)
{
    requireOpen();
    detachSource();
    // Read-only: the source is only read, and a transaction of this
    // connection then writes (and journals) this file alone.
    const QString uri =
        QStringLiteral("file:") +
        QString::fromLatin1(QUrl::toPercentEncoding(QFileInfo(path).absoluteFilePath(), "/")) +
        QStringLiteral("?mode=ro");
    try {
        exec(db_, QStringLiteral("ATTACH ") + quoteText(uri) + QStringLiteral(" AS ") + sourceSchema());
    } catch (const Error& e) {
        // The engine's error names this connection's own file; the file that
        // cannot be read is the one attached.
        if (e.number() == err::NotADatabase)
            throw Error(err::NotADatabase, QStringLiteral("Unrecognized database format '%1'.").arg(path));
        throw;
    }
    attachedSource_ = QFileInfo(path).absoluteFilePath();
}

void Database::attachSourceInMemory(const QString& path)
{
    requireOpen();
    detachSource();
    exec(db_, QStringLiteral("ATTACH ':memory:' AS ") + sourceSchema());
    attachedSource_ = QFileInfo(path).absoluteFilePath();
}

void Database::detachSource()
{
    if (!db_ || attachedSource_.isEmpty())
        return;
    exec(db_, QStringLiteral("DETACH ") + sourceSchema());
    attachedSource_.clear();
}

void Database::beginTrans()
{
    requireOpen();
    exec(db_, QStringLiteral("BEGIN"));
}

void Database::commitTrans()
{
    requireOpen();
    exec(db_, QStringLiteral("COMMIT"));
}

void Database::rollback()
{
    requireOpen();
    if (inTransaction())
        exec(db_, QStringLiteral("ROLLBACK"));
}

bool Database::inTransaction() const
{
    return db_ && sqlite3_get_autocommit(db_) == 0;
}

TableHold Database::holdTables(const QStringList& tables)
{
    return TableHold(holds_, tables);
}

bool Database::isHeld(const QString& table) const
{
    return holds_->isHeld(table);
}

void Database::requireNotHeld(const QString& table) const
{
    if (isHeld(table))
        throw Error(err::TableInUse,
                    QStringLiteral("The database engine could not lock table '%1' because it is "
                                   "already in use by another person or process.")
                        .arg(table));
}

Database::SelectSource Database::selectSource(const QString& statementOrTable)
{
    requireOpen();
    const QString table = dialect::bareTableName(statementOrTable);
    if (!table.isEmpty()) {
        if (!tableExists(table))
            throw inputTableNotFound(table);
        return {QStringLiteral("SELECT * FROM ") + quoteName(table), {}, {}};
    }
    const ConnectionSchema schema(schemaCache());
    Translation tr = dialect::translate(statementOrTable, &schema);
    if (tr.kind != StatementKind::Select)
        throw Error(err::InvalidOperation,
                    QStringLiteral("Invalid operation: only a SELECT statement opens a record set."));
    return {tr.sql, std::move(tr.expressionTypes), statementOrTable};
}

std::unique_ptr<Recordset> Database::openRecordset(const QString& statementOrTable, RecordsetType type)
{
    const SelectSource source = selectSource(statementOrTable);
    return select(source.sql, type, {}, {}, nullptr, &source.expressionTypes, source.shownAs);
}

std::unique_ptr<RowStream> Database::openRowStream(const QString& statementOrTable)
{
    const SelectSource source = selectSource(statementOrTable);
    return std::make_unique<RowStream>(shared_from_this(), source.sql, QStringList(), QString(), nullptr,
                                       &source.expressionTypes, source.shownAs);
}

std::unique_ptr<Recordset> Database::select(const QString& source, RecordsetType type, QStringList filters,
                                            QString order, const std::vector<Field>* knownFields,
                                            const ExpressionTypes* expressionTypes, const QString& shownAs)
{
    requireOpen();
    QStringList tablesRead;
    Statement stmt(db_, narrowedStatement(source, filters, order), &tablesRead, shownAs);
    RecordReader reader(stmt, knownFields, expressionTypes);
    reader.readAll();
    return std::make_unique<Recordset>(weak_from_this(), type, source, std::move(filters), std::move(order),
                                       reader.takeFields(), reader.takeColumns(), std::move(tablesRead));
}

void Database::execute(const QString& statement)
{
    requireOpen();
    const ConnectionSchema schema(schemaCache());
    const Translation tr = dialect::translate(statement, &schema);
    switch (tr.kind) {
    case StatementKind::Select:
        throw Error(err::CannotExecuteSelect, QStringLiteral("Cannot execute a select query."));
    case StatementKind::InsertIn:
        copyRowsInto(*this, tr.sql, tr.sourceTable, tr.externalPath, tr.target, statement);
        return;
    default:
        break;
    }
    requireWritable();
    switch (tr.kind) {
    case StatementKind::MakeTable:
        makeTable(tr, statement);
        break;
    case StatementKind::CreateTable:
        createTable(tr);
        break;
    case StatementKind::AddPrimaryKey:
        addPrimaryKey(tr);
        break;
    case StatementKind::DropTable:
        dropTable(tr.target);
        break;
    default: {
        Statement action(db_, tr.sql, nullptr, statement);
        while (action.step()) {
        }
        break;
    }
    }
}

QString Database::makeTableTarget(const QString& statement)
{
    const Translation tr = dialect::translate(statement);
    if (tr.kind != StatementKind::MakeTable)
        throw Error(err::InvalidOperation,
                    QStringLiteral("Invalid operation: only a SELECT ... INTO statement builds a table."));
    return tr.target;
}

void Database::makeTableAs(const QString& statement, const QString& target)
{
    requireOpen();
    requireWritable();
    const ConnectionSchema schema(schemaCache());
    Translation tr = dialect::translate(statement, &schema);
    if (tr.kind != StatementKind::MakeTable)
        throw Error(err::InvalidOperation,
                    QStringLiteral("Invalid operation: only a SELECT ... INTO statement builds a table."));
    tr.target = target;
    makeTable(tr, statement);
}

void Database::renameTable(const QString& from, const QString& to)
{
    requireOpen();
    requireWritable();
    exec(db_,
         QStringLiteral("ALTER TABLE ") + quoteName(from) + QStringLiteral(" RENAME TO ") + quoteName(to));
}

static bool isTextType(const QString& declared)
{
    const FieldType t = fieldTypeOf(declared);
    return !declared.isEmpty() && (t == FieldType::Text || t == FieldType::Memo);
}

void Database::makeTable(const Translation& tr, const QString& statement)
{
    if (tableExists(tr.target))
        throw Error(err::TableExists, QStringLiteral("Table '%1' already exists.").arg(tr.target));
    QStringList columns;
    {
        Statement probe(db_, tr.sql, nullptr, statement);
        for (int i = 0; i < probe.columnCount(); ++i) {
            QString declared = probe.declaredType(i);
            const QString name = probe.columnName(i);
            // A computed column takes the type the translator worked out.
            if (declared.isEmpty())
                for (const auto& [column, type] : tr.expressionTypes)
                    if (column == name)
                        declared = declaredType(type == FieldType::Text ? FieldType::Memo : type);
            QString def = quoteName(name);
            if (!declared.isEmpty())
                def += QLatin1Char(' ') + declared;
            if (isTextType(declared))
                def += QStringLiteral(" COLLATE NOCASE");
            columns << def;
        }
    }
    atomically(db_, QStringLiteral("qv_step"), [&] {
        exec(db_, QStringLiteral("CREATE TABLE ") + quoteName(tr.target) + QStringLiteral(" (") +
                      columns.join(QStringLiteral(", ")) + QLatin1Char(')'));
        Statement fill(db_, QStringLiteral("INSERT INTO ") + quoteName(tr.target) + QLatin1Char(' ') + tr.sql,
                       nullptr, statement);
        while (fill.step()) {
        }
    });
}

void Database::createTable(const Translation& tr)
{
    if (tableExists(tr.target))
        throw Error(err::TableExists, QStringLiteral("Table '%1' already exists.").arg(tr.target));
    QStringList defs;
    for (const dialect::ColumnSpec& c : tr.columns) {
        QString def = columnDefinition(c.name, c.type, c.length);
        if (c.notNull || c.primaryKey)
            def += QStringLiteral(" NOT NULL");
        if (c.primaryKey)
            def += QStringLiteral(" UNIQUE");
        defs << def;
    }
    exec(db_, QStringLiteral("CREATE TABLE ") + quoteName(tr.target) + QStringLiteral(" (") +
                  defs.join(QStringLiteral(", ")) + QLatin1Char(')'));
}

void Database::addPrimaryKey(const Translation& tr)
{
    if (!tableExists(tr.target))
        throw Error(err::ConstraintNotFound,
                    QStringLiteral("Cannot find table or constraint '%1'.").arg(tr.target));
    if (!columnNames(tr.target).contains(tr.keyColumn, Qt::CaseInsensitive))
        throw Error(err::ItemNotFound,
                    QStringLiteral("Item '%1' not found in table '%2'.").arg(tr.keyColumn, tr.target));
    const QString table = quoteName(tr.target);
    const QString column = quoteName(tr.keyColumn);
    atomically(db_, QStringLiteral("qv_step"), [&] {
        Statement nulls(db_, QStringLiteral("SELECT 1 FROM ") + table + QStringLiteral(" WHERE ") + column +
                                 QStringLiteral(" IS NULL LIMIT 1"));
        if (nulls.step())
            throw Error(
                err::NullInKey,
                QStringLiteral("Index or primary key cannot contain a Null value (%1).").arg(tr.keyColumn));
        exec(db_, QStringLiteral("CREATE UNIQUE INDEX ") + quoteName(QStringLiteral("qv_pk:") + tr.target) +
                      QStringLiteral(" ON ") + table + QStringLiteral(" (") + column + QLatin1Char(')'));
        for (const QString& event : {QStringLiteral("INSERT"), QStringLiteral("UPDATE")})
            exec(db_, keyNullTrigger(keyNullTriggerName(event, tr.target), event, tr.target, tr.keyColumn));
    });
}

void Database::dropTable(const QString& table)
{
    if (!tableExists(table))
        throw Error(err::DropTableMissing, QStringLiteral("Table '%1' does not exist.").arg(table));
    requireNotHeld(table);
    exec(db_, QStringLiteral("DROP TABLE ") + quoteName(table));
}

} // namespace qv::store
