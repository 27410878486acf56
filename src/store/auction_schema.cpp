#include "store/auction_schema.h"

#include "store/database.h"
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

void ensureRoundIndexes(Database& db)
{
    if (db.isReadOnly() || !db.tableExists(QStringLiteral("sysSuppliedTables")))
        return;
    auto supplied =
        db.openRecordset(QStringLiteral("SELECT TableName FROM sysSuppliedTables"), RecordsetType::Snapshot);
    // Opening an auction that has its indexes costs one look at the schema.
    QStringList indexes;
    {
        Statement s(db.handle(), QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'"));
        while (s.step())
            indexes << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0)));
    }
    for (int row = 0; row < supplied->recordCount(); ++row) {
        const QString table = supplied->at(row, 0).toString();
        const bool hasRoundIndex = indexes.contains(QStringLiteral("qv_round:") + table, Qt::CaseInsensitive);
        const bool wantsLicenceIndex = table.compare(MarketsTable, Qt::CaseInsensitive) == 0 &&
                                       !indexes.contains(MarketsLicenceIndex, Qt::CaseInsensitive);
        if ((hasRoundIndex && !wantsLicenceIndex) || !db.tableExists(table))
            continue;
        const QStringList columns = db.columnNames(table);
        if (!columns.contains(QStringLiteral("Round"), Qt::CaseInsensitive))
            continue;
        if (!hasRoundIndex)
            db.createIndexIfMissing(QStringLiteral("qv_round:") + table, table, QStringLiteral("Round"));
        if (wantsLicenceIndex && columns.contains(QStringLiteral("License Name"), Qt::CaseInsensitive))
            db.createIndexIfMissing(MarketsLicenceIndex, table,
                                    QStringList{QStringLiteral("Round"), QStringLiteral("License Name")});
    }
}

} // namespace qv::store::schema
