// Compacting an auction in place: every row kept, pages given back, and a
// database in use by another connection left exactly as it was.
#include "common/error.h"
#include "store/compaction.h"
#include "store/database.h"
#include "support/error_number.h"
#include "support/round_files.h"
#include "support/temp_dir.h"

#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace qv;
using namespace qv::store;
using qv::test::errorOf;

namespace {

// SQLite's own count of free pages: the dialect has no such function.
int freePages(const QString& path)
{
    auto db = Database::open(path);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db->handle(), "PRAGMA freelist_count", -1, &s, nullptr);
    const int pages = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int(s, 0) : -1;
    sqlite3_finalize(s);
    return pages;
}

QString makeDatabaseWithFreePages(const test::TempDir& dir)
{
    const QString path = dir.file(QStringLiteral("Auction3.mdb"));
    auto db = Database::create(path);
    db->execute(QStringLiteral("CREATE TABLE [All Bids] ([Round] Long, [Bidder] Text(100))"));
    db->beginTrans();
    for (int i = 0; i < 2000; ++i)
        db->execute(QStringLiteral("INSERT INTO [All Bids] ([Round], [Bidder]) VALUES (%1, '%2')")
                        .arg(i % 20 + 1)
                        .arg(QString(60, QLatin1Char('b'))));
    db->commitTrans();
    db->execute(QStringLiteral("DELETE * FROM [All Bids] WHERE [Round] > 5"));
    return path;
}

} // namespace

TEST(Compaction, KeepsEveryRowAndGivesPagesBack)
{
    test::TempDir dir;
    const QString path = makeDatabaseWithFreePages(dir);
    ASSERT_GT(freePages(path), 0);
    compactDatabase(path);
    EXPECT_EQ(freePages(path), 0);
    auto db = Database::open(path);
    auto rows = db->openRecordset(QStringLiteral("SELECT Count(*), Sum([Round]) FROM [All Bids]"));
    EXPECT_EQ(rows->value(0).toInt(), 500);
    EXPECT_EQ(rows->value(1).toInt(), 100 * (1 + 2 + 3 + 4 + 5));
}

TEST(Compaction, WaitsForAWriterAndGivesUpLeavingTheFileAsItWas)
{
    test::TempDir dir;
    const QString path = makeDatabaseWithFreePages(dir);
    const QByteArray before = test::readFile(path);
    {
        // Another connection in the middle of writing.
        auto writer = Database::open(path);
        writer->beginTrans();
        writer->execute(QStringLiteral("INSERT INTO [All Bids] ([Round], [Bidder]) VALUES (6, 'late')"));
        EXPECT_EQ(errorOf([&] { compactDatabase(path, std::chrono::milliseconds(200)); }), err::FileInUse);
        EXPECT_EQ(test::readFile(path), before);
        writer->commitTrans();
    }
    // The writer's row is kept, and the next compaction succeeds.
    compactDatabase(path);
    auto db = Database::open(path);
    EXPECT_EQ(db->openRecordset(QStringLiteral("SELECT Count(*) FROM [All Bids] WHERE [Round] = 6"))
                  ->value(0)
                  .toInt(),
              1);
}

TEST(Compaction, RefusesWhatIsNoAuctionWithoutTouchingIt)
{
    test::TempDir dir;
    const QString missing = dir.file(QStringLiteral("Auction9.mdb"));
    EXPECT_EQ(errorOf([&] { compactDatabase(missing); }), err::EngineFileNotFound);
    EXPECT_FALSE(QFile::exists(missing));

    const QString text = dir.file(QStringLiteral("notes.mdb"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a database");
    file.close();
    EXPECT_EQ(errorOf([&] { compactDatabase(text); }), err::NotADatabase);
    EXPECT_EQ(test::readFile(text), QByteArray("not a database"));
}
