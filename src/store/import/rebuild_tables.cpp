#include "common/error.h"
#include "store/auction_schema.h"
#include "store/import/auction_builder.h"
#include "store/import/import_routines.h"
#include "store/session.h"

namespace qv {

namespace {

QString textOf(const store::Recordset& rs, int row, const QString& field)
{
    const QVariant v = rs.at(row, rs.fieldIndex(field));
    return v.isNull() ? QString() : v.toString();
}

} // namespace

void RebuildWizardTables(ImportHost& host)
{
    store::Database& db = *session().CurrentDatabase;
    try {
        auto rs = db.openRecordset(QStringLiteral("SELECT [Table Name], [SQL String] FROM [sysWizard]"),
                                   store::RecordsetType::Snapshot);
        for (int row = 0; row < rs->recordCount(); ++row) {
            try {
                db.execute(QStringLiteral("DROP TABLE [") + textOf(*rs, row, QStringLiteral("Table Name")) +
                           QLatin1Char(']'));
            } catch (const Error& e) {
                if (e.number() != err::DropTableMissing)
                    throw;
            }
            db.execute(textOf(*rs, row, QStringLiteral("SQL String")));
        }
    } catch (const Error& e) {
        showGenericError(host.prompter, e);
    }
}

void RebuildQueryTables(ImportHost& host)
{
    Session& s = session();
    store::Database& db = *s.CurrentDatabase;
    host.prompter.setStatus(1, QStringLiteral("Auto-Rebuilding Customized Table(s)...Please Standby!"));
    auto rs =
        db.openRecordset(QStringLiteral("SELECT * FROM sysQueryBuilder"), store::RecordsetType::Snapshot);
    if (rs->recordCount() == 0)
        return;
    try {
        for (int row = 0; row < rs->recordCount(); ++row) {
            const QString into = textOf(*rs, row, QStringLiteral("Txt1"));
            if (into.isEmpty())
                continue;
            const QString listed = store::schema::listedTableName(into);
            // The listed name is data: a quote in it (Bob's Bids) is doubled.
            db.execute(QStringLiteral("DELETE [TableName] FROM [sysTables] WHERE [TableName] = ") +
                       store::Database::dialectQuote(listed));
            s.RebuildTableName = into;
            try {
                db.execute(QStringLiteral("drop table ") + into);
            } catch (const Error&) {
                // The table may not exist yet.
            }
            QString statement = QStringLiteral("SELECT ") + textOf(*rs, row, QStringLiteral("Txt0")) +
                                QStringLiteral(" INTO ") + into + QStringLiteral(" FROM ") +
                                textOf(*rs, row, QStringLiteral("Txt2"));
            const QString where = textOf(*rs, row, QStringLiteral("Txt3"));
            if (!where.isEmpty())
                statement += QStringLiteral(" WHERE ") + where;
            const QString order = textOf(*rs, row, QStringLiteral("Txt4"));
            if (!order.isEmpty())
                statement += QStringLiteral(" ORDER BY ") + order;
            db.execute(statement);
            db.execute(QStringLiteral("INSERT INTO [sysTables] (TableName) VALUES (") +
                       store::Database::dialectQuote(listed) + QLatin1Char(')'));
        }
        host.prompter.setStatus(1, QStringLiteral("Completed Auto-Rebuilding Customized Table(s)!"));
    } catch (const Error& e) {
        host.prompter.setStatus(1, QStringLiteral("Can NOT Refresh User-Defined Table Due To Open! Please "
                                                  "Rebuild It Manually"));
        if (e.number() == err::TableExists) {
            host.prompter.message(
                QStringLiteral(" The Round Import Was Successful. However... \r") +
                    QStringLiteral(" A User Defined Table (UDT) named: ") + QStringLiteral(" < < < ") +
                    s.RebuildTableName + QStringLiteral(" > > > ") + QStringLiteral("\r") +
                    QStringLiteral(" is currently open in a data window.\r\r") +
                    QStringLiteral(
                        " To be refreshed automatically in the Round Import: UDT must be closed.\r") +
                    QStringLiteral(" You can still re-build the table by running the SQL manually."),
                QStringLiteral("Successful Round Import!"), Icon::Information);
        } else {
            host.prompter.errorMessage(QStringLiteral("User's Error:") + QString::number(e.number()) +
                                           QStringLiteral(" ") + e.description(),
                                       QStringLiteral("USER'S SQL ERROR"), Icon::Information);
        }
    }
}

} // namespace qv
