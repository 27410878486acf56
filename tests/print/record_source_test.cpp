#include "print/core/record_source.h"
#include "store/database.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace qv;

// Numbers end at the right edge of their cells whatever their width (a Long
// beyond 32 bits, as a sum stored in a built table holds, is still a number);
// text and empty cells start at the left.
TEST(RecordSource, NumbersOfEveryWidthAlignRightTextLeft)
{
    test::TempDir dir;
    auto db = store::Database::create(dir.file(QStringLiteral("a.mdb")));
    db->execute(
        QStringLiteral("CREATE TABLE [T] ([Units] Long, [Total] Long, [Amount] Double, [Name] Text(10))"));
    // Beyond 32 bits, as a total in a built table may be: written to the file directly.
    ASSERT_EQ(sqlite3_exec(db->handle(),
                           "INSERT INTO T VALUES (7, 3000000000, 2.5, '12'), (NULL, NULL, NULL, NULL)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    const print::RecordSource source(db->openRecordset(QStringLiteral("SELECT * FROM [T]")));
    const Qt::Alignment expected[] = {Qt::AlignRight, Qt::AlignRight, Qt::AlignRight, Qt::AlignLeft};
    for (int column = 1; column <= 4; ++column) {
        EXPECT_EQ(source.alignment(1, column), expected[column - 1]) << column;
        EXPECT_EQ(source.alignment(2, column), Qt::AlignLeft) << column;
    }
    EXPECT_EQ(source.cellText(1, 2), QStringLiteral("3000000000"));
}
