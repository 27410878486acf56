#pragma once

#include "store/connection.h"
#include "store/recordset.h"
#include "store/row_stream.h"
#include "store/table_hold.h"

#include <QString>
#include <QStringList>

#include <memory>

struct sqlite3;

namespace qv::store::dialect {
struct Translation;
}

namespace qv::store {

class SchemaCache;
struct PagedSource;

// One open database file. Statements come in the program's SQL dialect and
// are translated for SQLite; every failure raises qv::Error with the engine's
// error number.
class Database : public std::enable_shared_from_this<Database> {
public:
    // Opens an existing database for shared read-write use: 3024 when the file
    // is missing, 3343 when it is not a database. A Jet database (.mdb of the
    // agency's engine) opens read-only, as a copy in memory.
    // A trigger or view the program did not make is refused (3343, naming
    // it) before anything is written.
    static std::shared_ptr<Database> open(const QString& path);
    // The same for a round's extracted database, whose triggers and views
    // its importer drops itself (they never reach the auction).
    static std::shared_ptr<Database> openRound(const QString& path);
    // Creates a new empty database file (fails when the file exists).
    static std::shared_ptr<Database> create(const QString& path);
    // Writes a compacted copy of a closed database.
    static void compact(const QString& sourcePath, const QString& destinationPath);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return path_; }
    bool isOpen() const { return db_ != nullptr; }
    bool isReadOnly() const { return readOnly_; }
    void close();

    // Runs one action or definition statement.
    void execute(const QString& statement);
    // The table a SELECT ... INTO statement builds; 3219 for any other statement.
    static QString makeTableTarget(const QString& statement);
    // Runs a SELECT ... INTO statement into target instead of the table it names.
    void makeTableAs(const QString& statement, const QString& target);
    void renameTable(const QString& from, const QString& to);
    // Opens a record set on a statement or a bare table name.
    std::unique_ptr<Recordset> openRecordset(const QString& statementOrTable,
                                             RecordsetType type = RecordsetType::Default);
    // Opens "SELECT * FROM [table] WHERE condition Order By ordering" (either
    // may be empty) as a snapshot whose rows are read as they are asked for:
    // the rows are counted now, and read a chunk at a time later. The same
    // errors as opening the statement. A table without row ids is read whole.
    std::unique_ptr<Recordset> openTableRows(const QString& table, const QString& condition,
                                             const QString& ordering);
    // The same rows read as they are written out, none held: for outputs.
    std::unique_ptr<RowStream> openRowStream(const QString& statementOrTable);

    // Table definitions in the order the tables were created, the engine's own
    // (sqlite_*, MSys*) included.
    QStringList tableNames() const;
    int tableDefCount() const { return static_cast<int>(tableNames().size()); }
    QString tableDefName(int index) const { return tableNames().value(index); }
    bool tableExists(const QString& table) const;
    QStringList columnNames(const QString& table) const;

    // An index that adds no column: it only speeds up reads and deletes.
    void createIndexIfMissing(const QString& index, const QString& table, const QString& column);
    void createIndexIfMissing(const QString& index, const QString& table, const QStringList& columns);

    // The schema name an attached source goes by on this connection.
    static QString sourceSchema() { return QStringLiteral("qv_source"); }
    // Makes another database file readable on this connection as sourceSchema(),
    // so that a whole table copied from it (INSERT INTO ... SELECT ... FROM
    // qv_source.table) runs as one statement inside this connection's
    // transaction. Outside a transaction only.
    void attachSource(const QString& path);
    // Attaches an empty database held in memory as the source, to be filled
    // with what is read from path (a file the engine cannot attach itself).
    void attachSourceInMemory(const QString& path);
    void detachSource();
    const QString& attachedSource() const { return attachedSource_; }

    // All-or-nothing work.
    void beginTrans();
    void commitTrans();
    void rollback();
    bool inTransaction() const;

    // Keeps tables in use until the hold is let go.
    TableHold holdTables(const QStringList& tables);
    bool isHeld(const QString& table) const;
    // 3211 while the table is held.
    void requireNotHeld(const QString& table) const;

    sqlite3* handle() const { return db_; }

private:
    Database(QString path, Connection db, bool readOnly);
    static std::shared_ptr<Database> openFile(const QString& path, bool refuseForeignObjects);
    static std::shared_ptr<Database> openJet(const QString& path);
    friend class Recordset;

    // A SELECT or table name as the SQLite SELECT it runs.
    struct SelectSource {
        QString sql;
        ExpressionTypes expressionTypes;
        QString shownAs; // the statement as the user wrote it, for errors
    };
    SelectSource selectSource(const QString& statementOrTable);
    // Runs a SQLite SELECT, narrowed by filters and ordered, into a record set.
    // Errors name shownAs, the statement or filter as the user wrote it.
    std::unique_ptr<Recordset> select(const QString& source, RecordsetType type, QStringList filters,
                                      QString order, const std::vector<Field>* knownFields = nullptr,
                                      const ExpressionTypes* expressionTypes = nullptr,
                                      const QString& shownAs = {});
    std::unique_ptr<Recordset> selectPaged(PagedSource source, RecordsetType type,
                                           const std::vector<Field>& fields, const QString& shownAs,
                                           QStringList sourceTables);
    void makeTable(const dialect::Translation& tr, const QString& statement);
    void createTable(const dialect::Translation& tr);
    void addPrimaryKey(const dialect::Translation& tr);
    void dropTable(const QString& table);
    void requireOpen() const;
    void requireWritable() const;

    // The tables' column types for the translator, kept between statements.
    SchemaCache& schemaCache();

    QString path_;
    Connection db_;
    std::unique_ptr<SchemaCache> schemaCache_;
    bool readOnly_ = false;
    QStringList engineTables_; // names the engine lists beyond SQLite's own (MSys* of a Jet file)
    QString attachedSource_;   // the file attached as sourceSchema(), empty when none
    std::shared_ptr<HoldRegistry> holds_ = std::make_shared<HoldRegistry>();
};

using DatabasePtr = std::shared_ptr<Database>;

} // namespace qv::store

namespace qv::store {

// Rewrites a Jet database file in place as a database of our own format,
// with the same tables, columns and rows (the engine's own tables left out).
// Returns false, and leaves the file alone, when it is not a Jet file.
bool convertToOwnFormat(const QString& path);

} // namespace qv::store
