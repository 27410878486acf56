// An auction file is input too: what it holds beyond the program's own
// tables must not run as the program's own. Planted with the sqlite3 shell,
// as another program could.
#include "common/error.h"
#include "store/database.h"
#include "support/cli_run.h"
#include "support/round_files.h"
#include "support/temp_dir.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace qv::test {

namespace {

void plant(const QString& db, const QString& statements)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("sqlite3"), {db, statements}), 0) << statements.toStdString();
}

} // namespace

TEST(ForeignSchema, ATriggerOrViewInAnAuctionIsRefusedAndNothingIsWritten)
{
    TempDir files;
    runCli({QStringLiteral("sample"), files.path(), QStringLiteral("--rounds"), QStringLiteral("2")});
    const char* const planted[][2] = {
        {"trigger 'wipe'",
         "CREATE TRIGGER wipe AFTER INSERT ON sysRounds BEGIN DELETE FROM \"All Bids\"; END"},
        {"view 'Peek'", "CREATE VIEW \"Peek\" AS SELECT * FROM \"All Bids\""},
        // The name the program gives its key triggers, on a body it never writes.
        {"trigger 'qv_pk_null_INSERT:sysRounds'", "CREATE TRIGGER \"qv_pk_null_INSERT:sysRounds\" BEFORE "
                                                  "INSERT ON \"sysRounds\" WHEN NEW.\"Round\" IS "
                                                  "NULL BEGIN DELETE FROM \"All Bids\"; END"},
    };
    for (const auto& [named, statement] : planted) {
        SCOPED_TRACE(named);
        TempDir app;
        const QString db = app.file(QStringLiteral("Auction5.mdb"));
        const QStringList appDir = {QStringLiteral("--app-dir"), app.path()};
        ASSERT_EQ(
            runCli(appDir + QStringList{QStringLiteral("create"), files.file(QStringLiteral("05_001.zip"))})
                .code,
            0);
        plant(db, QString::fromUtf8(statement));
        const QByteArray before = readFile(db);
        for (const QStringList& command :
             {appDir + QStringList{QStringLiteral("import"), db, files.file(QStringLiteral("05_002.zip"))},
              QStringList{QStringLiteral("show"), db, QStringLiteral("Bidders")},
              QStringList{QStringLiteral("compact"), db}}) {
            const CliRun run = runCli(command);
            EXPECT_EQ(run.code, 1) << command.join(QLatin1Char(' ')).toStdString();
            EXPECT_TRUE((run.out + run.err).contains(QLatin1String(named))) << run.out.toStdString();
        }
        EXPECT_EQ(readFile(db), before);
        EXPECT_FALSE(QFileInfo::exists(db + QStringLiteral("-journal")));
    }
}

// With the schema untrusted, a table's CHECK or DEFAULT may call the
// dialect's pure functions, but never the clock's.
TEST(ForeignSchema, SchemaObjectsCallOnlyInnocuousFunctions)
{
    TempDir dir;
    const auto withTable = [&](const QString& name, const QString& definition) {
        const QString path = dir.file(name);
        plant(path,
              QStringLiteral("CREATE TABLE t (a TEXT); PRAGMA writable_schema = ON; UPDATE sqlite_master "
                             "SET sql = '%1' WHERE name = 't'")
                  .arg(QString(definition).replace(QLatin1Char('\''), QStringLiteral("''"))));
        return store::Database::open(path);
    };
    auto pure = withTable(QStringLiteral("pure.mdb"),
                          QStringLiteral("CREATE TABLE t (a TEXT CHECK (qv_left(a, 1) <> 'x'), b DEFAULT "
                                         "(qv_ucase('b')))"));
    EXPECT_NO_THROW(pure->execute(QStringLiteral("INSERT INTO [t] ([a]) VALUES ('ab')")));
    EXPECT_THROW(pure->execute(QStringLiteral("INSERT INTO [t] ([a]) VALUES ('xy')")),
                 Error); // the CHECK holds
    // Defensive: our own connection cannot rewrite the schema either.
    EXPECT_NE(sqlite3_exec(pure->handle(),
                           "PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = 'CREATE TABLE t (a)'",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    auto clock = withTable(QStringLiteral("clock.mdb"),
                           QStringLiteral("CREATE TABLE t (a TEXT, b DEFAULT (qv_now()))"));
    try {
        clock->execute(QStringLiteral("INSERT INTO [t] ([a]) VALUES ('z')"));
        ADD_FAILURE() << "the clock ran from the schema";
    } catch (const Error& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("unsafe use of Now()")))
            << e.description().toStdString();
    }
}

} // namespace qv::test
