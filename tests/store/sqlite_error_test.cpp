#include "common/error.h"
#include "store/database.h"
#include "store/sqlite_error.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sqlite3.h>

using namespace qv;
using namespace qv::store;

namespace {

Error raised(int rc, const char* message)
{
    try {
        raiseSqliteMessage(rc, QString::fromUtf8(message), QStringLiteral("Auction5.mdb"));
    } catch (const Error& e) {
        return e;
    }
    return Error(0, {});
}

} // namespace

// The code decides; the text only names what failed, or tells apart what
// SQLite gives one code for. Extended codes map like their primary code.
TEST(SqliteErrorTest, EachCodeRaisesItsEngineError)
{
    const struct {
        int rc;
        const char* message;
        int number;
        const char* named; // a text the description must hold, if any
    } cases[] = {
        {SQLITE_CONSTRAINT_UNIQUE, "UNIQUE constraint failed: Bids.Round", err::DuplicateKey, "(Bids.Round)"},
        {SQLITE_CONSTRAINT_PRIMARYKEY, "UNIQUE constraint failed: Bids.rowid", err::DuplicateKey, nullptr},
        {SQLITE_CONSTRAINT_NOTNULL, "NOT NULL constraint failed: Bids.Bidder", err::NullInKey,
         "(Bids.Bidder)"},
        {SQLITE_CONSTRAINT_TRIGGER, "qv_null:Round", err::NullInKey, "(Round)"},
        {SQLITE_CONSTRAINT_TRIGGER, "refused", err::EngineFailure, nullptr},
        {SQLITE_CONSTRAINT_CHECK, "CHECK constraint failed: qv_len:Bidder", err::FieldTooSmall, "'Bidder'"},
        {SQLITE_CONSTRAINT_CHECK, "CHECK constraint failed: positive", err::EngineFailure, nullptr},
        {SQLITE_CONSTRAINT_FOREIGNKEY, "FOREIGN KEY constraint failed", err::EngineFailure, nullptr},
        // The wording of one kind under another kind's code does not decide.
        {SQLITE_CONSTRAINT_UNIQUE, "no such table: UNIQUE constraint failed: x", err::DuplicateKey, nullptr},
        {SQLITE_ERROR, "UNIQUE constraint failed: x", err::EngineFailure, nullptr},
        {SQLITE_ERROR, "no such table: main.Markets", err::TableNotFound, "'Markets'"},
        {SQLITE_ERROR, "no such column: Amout", err::UnknownColumn, "'Amout'"},
        {SQLITE_ERROR, "table Bids already exists", err::TableExists, "'Bids'"},
        {SQLITE_ERROR, "no such function: Lefty", err::UndefinedFunction, "'Lefty'"},
        {SQLITE_ERROR, "near \"FORM\": syntax error", err::SyntaxError, "in 'Auction5.mdb'"},
        {SQLITE_ERROR, "qv_error:13:Type mismatch", err::TypeMismatch, "Type mismatch"},
        {SQLITE_ERROR, "too many columns on Bids", err::EngineFailure, nullptr},
        {SQLITE_BUSY, "database is locked", err::FileInUse, "Auction5.mdb"},
        {SQLITE_BUSY_SNAPSHOT, "database is locked", err::FileInUse, nullptr},
        {SQLITE_BUSY_RECOVERY, "database is locked", err::FileInUse, nullptr},
        {SQLITE_LOCKED, "database table is locked", err::TableInUse, nullptr},
        {SQLITE_LOCKED_SHAREDCACHE, "database table is locked", err::TableInUse, nullptr},
        {SQLITE_READONLY, "attempt to write a readonly database", err::ReadOnlyDatabase, nullptr},
        {SQLITE_READONLY_DBMOVED, "attempt to write a readonly database", err::ReadOnlyDatabase, nullptr},
        {SQLITE_READONLY_ROLLBACK, "attempt to write a readonly database", err::ReadOnlyDatabase, nullptr},
        {SQLITE_CORRUPT, "database disk image is malformed", err::NotADatabase, "damaged"},
        {SQLITE_CORRUPT_INDEX, "database disk image is malformed", err::NotADatabase, "damaged"},
        {SQLITE_NOTADB, "file is not a database", err::NotADatabase, "Unrecognized"},
        {SQLITE_CANTOPEN, "unable to open database file", err::EngineFileNotFound, nullptr},
        {SQLITE_CANTOPEN_ISDIR, "unable to open database file", err::EngineFileNotFound, nullptr},
        {SQLITE_FULL, "database or disk is full", err::EngineDiskFull, "Auction5.mdb"},
        {SQLITE_INTERRUPT, "interrupted", err::OperationCancelled, nullptr},
        {SQLITE_IOERR_WRITE, "disk I/O error", err::EngineFailure, "disk I/O error"},
    };
    for (const auto& c : cases) {
        const Error e = raised(c.rc, c.message);
        EXPECT_EQ(e.number(), c.number) << c.rc << ' ' << c.message;
        if (c.named) {
            EXPECT_TRUE(e.description().contains(QString::fromUtf8(c.named)))
                << c.rc << ' ' << e.description().toStdString();
        }
    }
}

// Every connection reports extended codes, so the mapping above sees them.
TEST(SqliteErrorTest, ConnectionsReportExtendedCodes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto db = Database::create(dir.filePath(QStringLiteral("Auction5.mdb")));
    ASSERT_EQ(sqlite3_exec(db->handle(), "CREATE TABLE t (k INTEGER UNIQUE); INSERT INTO t VALUES (1)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db->handle(), "INSERT INTO t VALUES (1)", nullptr, nullptr, nullptr),
              SQLITE_CONSTRAINT_UNIQUE);
}
