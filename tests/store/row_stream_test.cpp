// Rows read as they are written out hold the values a record set of the same
// statement holds, typed the same way row by row, and a filter or sort on an
// unknown field fails before any row is read.
#include "common/error.h"
#include "store/database.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using qv::store::Database;

TEST(RowStream, EveryValueAsTheRecordSetHoldsIt)
{
    qv::test::TempDir dir;
    auto db = Database::create(dir.file(QStringLiteral("t.mdb")));
    db->execute(
        QStringLiteral("CREATE TABLE [T] ([Name] Text, [Amount] Double, [Count] Long, [When] DateTime)"));
    // An integer stored in a fraction column, a text in a number column, a
    // date and a text in a date column, a 64-bit number, nulls.
    db->execute(QStringLiteral("INSERT INTO [T] VALUES ('Heron', 3, 5000000000, #3/4/2026#)"));
    db->execute(QStringLiteral("INSERT INTO [T] VALUES (Null, 2.5, Null, Null)"));
    db->execute(QStringLiteral("INSERT INTO [T] VALUES ('Osprey', 7, 2, #12/31/2025 13:45:00#)"));
    // A column without a declared type, made outside the program.
    const char* raw = "UPDATE T SET Amount = 'x', \"When\" = 'not a date' WHERE Name = 'Osprey';"
                      "CREATE TABLE U AS SELECT Count + 0 AS C, Name AS N, CASE Name WHEN 'Heron' THEN 0.5 "
                      "ELSE coalesce(Count, 7) END AS A FROM T";
    ASSERT_EQ(sqlite3_exec(db->handle(), raw, nullptr, nullptr, nullptr), SQLITE_OK);
    // Columns without a declared type take theirs from the first value that
    // is not null (that value itself is read as a fraction) and keep it: [A]'s
    // 0.5 makes it a fraction, and its 2 after a 7 is read as one.
    for (const QString& statement :
         {QStringLiteral("SELECT * FROM [T]"), QStringLiteral("SELECT * FROM [U]"),
          QStringLiteral("SELECT [Count] * 2 AS D, [Name] FROM [T] ORDER BY [Name] DESC")}) {
        auto records = db->openRecordset(statement);
        auto rows = db->openRowStream(statement);
        ASSERT_EQ(rows->fieldNames(), records->fieldNames());
        for (int r = 0; r < records->recordCount(); ++r) {
            ASSERT_TRUE(rows->next()) << statement.toStdString();
            for (int c = 0; c < records->fieldCount(); ++c) {
                const QVariant expected = records->at(r, c), streamed = rows->value(c);
                EXPECT_EQ(streamed.typeId(), expected.typeId()) << statement.toStdString() << " " << r << c;
                EXPECT_EQ(streamed, expected) << statement.toStdString() << " " << r << c;
            }
        }
        EXPECT_FALSE(rows->next());
    }

    auto rows = db->openRowStream(QStringLiteral("SELECT * FROM [T]"));
    EXPECT_EQ(rows->narrowed(QStringLiteral("[Count] > 1"), QStringLiteral("[Count] DESC"))->next(), true);
    for (const auto& [filter, sort] : {std::pair{QStringLiteral("[Nope] > 1"), QString()},
                                       std::pair{QString(), QStringLiteral("[Nope]")}}) {
        try {
            rows->narrowed(filter, sort);
            ADD_FAILURE() << "an unknown field must fail";
        } catch (const qv::Error& error) {
            EXPECT_TRUE(error.description().contains(QStringLiteral("'Nope'")))
                << error.description().toStdString();
        }
    }
}
