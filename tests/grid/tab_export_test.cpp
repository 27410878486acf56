// The text export's writer: what lands in the file, and that a failed export
// never costs the user the file that was there before.
#include "common/cell_text.h"
#include "common/error.h"
#include "common/safe_file.h"
#include "grid/core/tab_export.h"
#include "store/database.h"
#include "support/round_files.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using qv::grid::TabRows;

namespace {

TabRows rowsOf(QStringList header, std::vector<QStringList> cells)
{
    TabRows rows;
    rows.header = std::move(header);
    rows.rowCount = static_cast<int>(cells.size());
    rows.columnCount = static_cast<int>(rows.header.size());
    rows.cell = [cells = std::move(cells)](int row, int column) {
        return cells.at(static_cast<size_t>(row)).at(column);
    };
    return rows;
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace

TEST(TabExport, HeaderThenRowsWithCrLfAndOneLinePerRow)
{
    qv::test::TempDir dir;
    const QString path = dir.file(QStringLiteral("Bidders.txt"));
    qv::grid::exportTabFile(path,
                            rowsOf({QStringLiteral("Bidder"), QStringLiteral("Note")},
                                   {{QStringLiteral("Heron"), QStringLiteral("")},
                                    {QStringLiteral("Kes\ttrel"), QStringLiteral("two\r\nlines\nand\rmore")},
                                    {QStringLiteral("Osprey"), QStringLiteral("ok")}}));
    EXPECT_EQ(qv::test::readFile(path), QByteArray("Bidder\tNote\r\n"
                                                   "Heron\t\r\n"
                                                   "Kes trel\ttwo lines and more\r\n"
                                                   "Osprey\tok\r\n"));
}

TEST(TabExport, NoRowsStillWritesTheHeader)
{
    qv::test::TempDir dir;
    const QString path = dir.file(QStringLiteral("empty.txt"));
    qv::grid::exportTabFile(path, rowsOf({QStringLiteral("A"), QStringLiteral("B")}, {}));
    EXPECT_EQ(qv::test::readFile(path), QByteArray("A\tB\r\n"));
}

TEST(TabExport, ReplacesAnExistingFileWhole)
{
    qv::test::TempDir dir;
    const QString path = dir.file(QStringLiteral("out.txt"));
    writeFile(path, QByteArray(4096, 'x'));
    qv::grid::exportTabFile(path, rowsOf({QStringLiteral("A")}, {{QStringLiteral("1")}}));
    EXPECT_EQ(qv::test::readFile(path), QByteArray("A\r\n1\r\n"));
}

TEST(TabExport, AFailureHalfWayKeepsTheOldFileAndLeavesNoTemporary)
{
    qv::test::TempDir dir;
    const QString path = dir.file(QStringLiteral("out.txt"));
    writeFile(path, "the user's old export\r\n");
    TabRows rows = rowsOf({QStringLiteral("A")}, {});
    rows.rowCount = 200000;
    rows.columnCount = 1;
    rows.cell = [](int row, int) -> QString {
        // Enough rows to reach the disk before the failure.
        if (row == 150000)
            throw qv::Error(3021, QStringLiteral("No current record."));
        return QStringLiteral("some text for row %1").arg(row);
    };
    EXPECT_THROW(qv::grid::exportTabFile(path, rows), qv::Error);
    EXPECT_EQ(qv::test::readFile(path), QByteArray("the user's old export\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.txt")});
}

TEST(TabExport, AMissingOrUnwritableFolderIsReported)
{
    qv::test::TempDir dir;
    const TabRows rows = rowsOf({QStringLiteral("A")}, {{QStringLiteral("1")}});
    try {
        qv::grid::exportTabFile(dir.file(QStringLiteral("no/such/folder/out.txt")), rows);
        FAIL() << "a missing folder must fail";
    } catch (const qv::Error& e) {
        EXPECT_EQ(e.number(), qv::err::PathNotFound);
    }
    // A folder where nothing may be created, even for root.
    try {
        qv::grid::exportTabFile(QStringLiteral("/proc/quorvane-export.txt"), rows);
        FAIL() << "an unwritable folder must fail";
    } catch (const qv::Error& e) {
        EXPECT_EQ(e.number(), qv::err::PathFileAccess);
    }
}

TEST(TabExport, ARecordSetIsWrittenAsTheGridShowsIt)
{
    qv::test::TempDir dir;
    auto db = qv::store::Database::create(dir.file(QStringLiteral("t.mdb")));
    db->execute(
        QStringLiteral("CREATE TABLE [T] ([Name] Text, [Amount] Number, [Count] Long, [When] DateTime, "
                       "[Ok] YesNo)"));
    db->execute(QStringLiteral("INSERT INTO [T] VALUES ('Heron', 12345678.25, 7, #3/4/2026#, True)"));
    db->execute(QStringLiteral("INSERT INTO [T] VALUES ('Two\tparts', 1E+20, -3, Null, False)"));
    db->execute(QStringLiteral("INSERT INTO [T] VALUES ('Whole', 999999999999999, 5, Null, Null)"));
    db->execute(QStringLiteral("INSERT INTO [T] VALUES ('Big', 1000000000000000, 2, Null, Null)"));
    db->execute(QStringLiteral("INSERT INTO [T] VALUES (Null, 0.1, Null, #12/31/2025 13:45:00#, Null)"));
    db->execute(QStringLiteral("INSERT INTO [T] VALUES ('Ospr\u00e9y\r\nII', 1500, 0, Null, Null)"));
    auto rows = db->openRecordset(QStringLiteral("SELECT * FROM [T]"), qv::store::RecordsetType::Snapshot);

    // Rows streamed from the engine, and a record set's rows, write what the
    // grid's cell texts would.
    TabRows shown;
    shown.header = rows->fieldNames();
    shown.rowCount = rows->recordCount();
    shown.columnCount = rows->fieldCount();
    shown.cell = [&rows](int r, int c) { return qv::cellDisplay(rows->at(r, c)); };
    qv::ByteBuffer a, b, streamed;
    qv::grid::writeTabText(a, shown);
    qv::store::RecordsetRows read(*rows);
    qv::grid::writeTabText(b, read);
    qv::grid::writeTabText(streamed, *db->openRowStream(QStringLiteral("SELECT * FROM [T]")));
    EXPECT_EQ(a.bytes, b.bytes);
    EXPECT_EQ(a.bytes, streamed.bytes);
    EXPECT_TRUE(a.bytes.startsWith("Name\tAmount\tCount\tWhen\tOk\r\nHeron\t12345678.25\t7\t3/4/2026\t"))
        << a.bytes.toStdString();
    EXPECT_EQ(a.bytes.count("\r\n"), 7);
}
