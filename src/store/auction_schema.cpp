#include "store/auction_schema.h"

#include "store/database.h"
#include "store/field_type.h"
#include "store/sql_quote.h"
#include "store/sqlite_statement.h"

#include <sqlite3.h>

namespace qv::store::schema {

QStringList systemTableStatements(int auctionNumber, QueryBuilderLayout layout)
{
    const bool single = layout == QueryBuilderLayout::Single;
    return {
        QStringLiteral("CREATE TABLE [sysRounds] ([Round] Number)"),
        single ? QStringLiteral("INSERT INTO [sysRounds] ([Round]) VALUES (1)")
               : QStringLiteral("INSERT INTO [sysRounds] VALUES (1)"),
        QStringLiteral("CREATE TABLE [sysAuction] ([Auction ID] Number)"),
        QStringLiteral("INSERT INTO [sysAuction] ([Auction ID]) VALUES (") + QString::number(auctionNumber) +
            QLatin1Char(')'),
        QStringLiteral("CREATE TABLE [sysWizard] ([Table Name] TEXT(65), [SQL String] MEMO)"),
        single ? QStringLiteral("CREATE TABLE [sysQueryBuilder] ([Txt5] TEXT(255), ") +
                     QStringLiteral("[Txt0] MEMO, [Txt1] TEXT(65), [Txt2] MEMO, [Txt3] MEMO, [Txt4] MEMO)")
               : QStringLiteral("CREATE TABLE [sysQueryBuilder] ([Txt5] TEXT(65), ") +
                     QStringLiteral("[Txt0] TEXT(255), [Txt1] TEXT(255), [Txt2] TEXT(255), [Txt3] TEXT(255), "
                                    "[Txt4] TEXT(255))"),
        QStringLiteral("ALTER TABLE [sysQueryBuilder] ADD CONSTRAINT [Primary] PRIMARY KEY ([Txt5])"),
        QStringLiteral("CREATE TABLE [sysTables] ([TableName] Text)"),
        QStringLiteral("INSERT INTO [sysTables] SELECT * FROM [sysSuppliedTables]"),
    };
}

QString insertSuppliedTable(const QString& table)
{
    // The name is data: a quote in it is doubled, never ends the text.
    return QStringLiteral("INSERT INTO [sysSuppliedTables] (TableName) VALUES (") +
           quoteText(table, QLatin1Char('"')) + QLatin1Char(')');
}

bool isSuppliedCandidate(const QString& table)
{
    return !table.startsWith(QLatin1String("MSys")) && !table.startsWith(QLatin1String("sys")) &&
           !table.startsWith(QLatin1String("sqlite_"));
}

bool isSystemTable(const QString& table)
{
    return table.startsWith(QLatin1String("sys"));
}

QString listedTableName(const QString& into)
{
    QString name = into.trimmed();
    if (name.startsWith(QLatin1Char('['))) {
        name.chop(1);
        name.remove(0, 1);
    }
    return name;
}

namespace {

QStringList indexNames(Database& db)
{
    QStringList indexes;
    Statement s(db.handle(), QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'"));
    while (s.step())
        indexes << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0)));
    return indexes;
}

// The index on [Markets]' [Round] alone that auctions were once given, known
// by the name and the one column this program gave it: the licence index
// leads with [Round] and serves every search by round, so the single one only
// cost each import its upkeep. An index of any other making is kept.
void dropMarketsRoundIndex(Database& db, const QString& table)
{
    const QString name = QStringLiteral("qv_round:") + table;
    Statement columns(db.handle(), QStringLiteral("SELECT m.tbl_name, i.name FROM sqlite_master AS m, "
                                                  "pragma_index_info(m.name) AS i WHERE m.type = 'index' "
                                                  "AND m.name = ?1"));
    const QByteArray utf8 = name.toUtf8();
    sqlite3_bind_text(columns.get(), 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    QStringList indexed;
    bool onMarkets = true;
    while (columns.step()) {
        const QString indexedTable =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), 0)));
        onMarkets = onMarkets && indexedTable.compare(table, Qt::CaseInsensitive) == 0;
        indexed << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), 1)));
    }
    if (onMarkets && indexed == QStringList{QStringLiteral("Round")})
        exec(db.handle(), QStringLiteral("DROP INDEX ") + quoteName(name));
}

} // namespace

void ensureRoundIndexes(Database& db)
{
    // A file opened read-only (its permissions, its medium) is left as it is.
    if (db.isReadOnly() || sqlite3_db_readonly(db.handle(), "main") == 1 ||
        !db.tableExists(QStringLiteral("sysSuppliedTables")))
        return;
    auto supplied =
        db.openRecordset(QStringLiteral("SELECT TableName FROM sysSuppliedTables"), RecordsetType::Snapshot);
    // Opening an auction that has its indexes costs one look at the schema.
    const QStringList indexes = indexNames(db);
    for (int row = 0; row < supplied->recordCount(); ++row) {
        const QString table = supplied->at(row, 0).toString();
        const bool isMarkets = table.compare(MarketsTable, Qt::CaseInsensitive) == 0;
        const bool hasRoundIndex = indexes.contains(QStringLiteral("qv_round:") + table, Qt::CaseInsensitive);
        const bool hasLicenceIndex = isMarkets && indexes.contains(MarketsLicenceIndex, Qt::CaseInsensitive);
        // [Markets] is done when its licence index stands alone.
        const bool done = isMarkets ? hasLicenceIndex && !hasRoundIndex : hasRoundIndex;
        if (done || !db.tableExists(table))
            continue;
        const QStringList columns = db.columnNames(table);
        if (!columns.contains(QStringLiteral("Round"), Qt::CaseInsensitive))
            continue;
        if (isMarkets && columns.contains(QStringLiteral("License Name"), Qt::CaseInsensitive)) {
            if (!hasLicenceIndex)
                db.createIndexIfMissing(MarketsLicenceIndex, table,
                                        QStringList{QStringLiteral("Round"), QStringLiteral("License Name")});
            if (hasRoundIndex)
                dropMarketsRoundIndex(db, table);
        } else if (!hasRoundIndex) {
            db.createIndexIfMissing(QStringLiteral("qv_round:") + table, table, QStringLiteral("Round"));
        }
    }
}

} // namespace qv::store::schema
