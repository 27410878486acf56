// The sheet keeps its cells compactly: what is read back must be what was
// set, type and all, wherever in the sheet and however often it was set.
#include "analysis/core/pivot_table.h"
#include "analysis/core/workbook.h"

#include <QDate>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qv::analysis {
namespace {

TEST(Sheet, ValuesReadBackWithTheTypeTheyWereSetWith)
{
    const QList<QVariant> values = {
        QVariant(0),
        QVariant(-7),
        QVariant(std::numeric_limits<int>::min()),
        QVariant(3.0), // a whole double stays a double
        QVariant(-2147483648.0),
        QVariant(2147483648.0), // one past what 32 bits hold
        QVariant(-0.0),
        QVariant(0.25),
        QVariant(1e300),
        QVariant(qlonglong(1) << 40),
        QVariant(qlonglong(-5)),
        QVariant(QStringLiteral("Heron")),
        QVariant(QString(QLatin1String(""))),
        QVariant(true),
        QVariant(3u),
        QVariant(QDate(2026, 12, 8)),
    };
    Sheet sheet(QStringLiteral("Sheet1"));
    for (int i = 0; i < values.size(); ++i)
        sheet.setCell(i + 1, 2, values[i]);
    for (int i = 0; i < values.size(); ++i) {
        const QVariant read = sheet.cell(i + 1, 2);
        EXPECT_EQ(read.typeId(), values[i].typeId()) << i;
        EXPECT_EQ(read, values[i]) << i;
    }
    EXPECT_TRUE(std::signbit(sheet.cell(7, 2).toDouble()));
    EXPECT_EQ(sheet.rowCount(), values.size());
    EXPECT_EQ(sheet.columnCount(), 2);
    EXPECT_FALSE(sheet.cell(1, 1).isValid());
}

TEST(Sheet, CellsReplacedCellsPastTheEndAndRowsPastABlock)
{
    Sheet sheet(QStringLiteral("Sheet1"));
    // Each value in turn over the last, every kind after every other.
    const QList<QVariant> turns = {QVariant(0.5),
                                   QVariant(qlonglong(1) << 33),
                                   QVariant(QDate(2020, 1, 2)),
                                   QVariant(QDate(2021, 3, 4)),
                                   QVariant(7),
                                   QVariant(1.75),
                                   QVariant(QStringLiteral("x")),
                                   QVariant(2.5),
                                   QVariant(false)};
    for (const QVariant& value : turns) {
        sheet.setCell(3, 3, value);
        EXPECT_EQ(sheet.cell(3, 3), value);
        EXPECT_EQ(sheet.cell(3, 3).typeId(), value.typeId());
    }
    // A null empties a cell but does not stretch the used range.
    sheet.setCell(3, 3, QVariant());
    EXPECT_FALSE(sheet.cell(3, 3).isValid());
    sheet.setCell(10, 1, QVariant());
    sheet.setCell(1, 9, QVariant());
    EXPECT_EQ(sheet.rowCount(), 3);
    EXPECT_EQ(sheet.columnCount(), 3);

    // Rows far down, in a column of their own, past the first block of rows.
    sheet.setCell(5000, 2, QStringLiteral("far"));
    sheet.setCell(4097, 2, 4097);
    sheet.setCell(4096, 2, 4096.5);
    EXPECT_EQ(sheet.rowCount(), 5000);
    EXPECT_EQ(sheet.cell(5000, 2).toString(), QStringLiteral("far"));
    EXPECT_EQ(sheet.cell(4097, 2), QVariant(4097));
    EXPECT_EQ(sheet.cell(4096, 2), QVariant(4096.5));
    EXPECT_FALSE(sheet.cell(4098, 2).isValid());
    EXPECT_FALSE(sheet.cell(5001, 2).isValid()); // past the column's end
    EXPECT_FALSE(sheet.cell(5000, 1).isValid()); // past another column's end
    EXPECT_FALSE(sheet.cell(1, 40).isValid());   // past the last column
    EXPECT_EQ(sheet.view(0, 1).kind, Sheet::CellView::Kind::Empty);
}

TEST(Sheet, ATextMetAgainIsTheSameTextWhicheverColumnHoldsIt)
{
    Sheet sheet(QStringLiteral("Sheet1"));
    sheet.setCell(1, 1, QStringLiteral("Kestrel"));
    sheet.setCell(2, 4, QString(QStringLiteral("Kest") + QStringLiteral("rel"))); // another copy
    sheet.setCell(3, 1, QStringLiteral("kestrel"));
    const Sheet::CellView first = sheet.view(1, 1);
    const Sheet::CellView again = sheet.view(2, 4);
    const Sheet::CellView other = sheet.view(3, 1);
    ASSERT_EQ(first.kind, Sheet::CellView::Kind::Text);
    EXPECT_EQ(first.textId, again.textId);
    EXPECT_NE(first.textId, other.textId); // case is kept: a text of its own
    EXPECT_EQ(*other.text, QStringLiteral("kestrel"));
    EXPECT_EQ(sheet.textCount(), 2);
    EXPECT_EQ(sheet.cell(2, 4).toString(), QStringLiteral("Kestrel"));
    // A replaced text does not change the text other cells share.
    sheet.setCell(1, 1, QStringLiteral("Heron"));
    EXPECT_EQ(sheet.cell(2, 4).toString(), QStringLiteral("Kestrel"));
    EXPECT_EQ(sheet.cell(1, 1).toString(), QStringLiteral("Heron"));
}

// Amounts of types the sheet keeps as they are (unsigned, single precision)
// add up as numbers; counting counts every cell that shows something.
TEST(Sheet, PivotSumsAndCountsCellsOfEveryKind)
{
    WorkbookModel app;
    app.addWorkbook();
    app.activateSheet(QStringLiteral("Sheet1"));
    app.setCell(1, 1, QStringLiteral("Round"));
    app.setCell(1, 2, QStringLiteral("Amount"));
    const QList<QVariant> amounts = {QVariant(1),    QVariant(2.5),       QVariant(qlonglong(4)),
                                     QVariant(8u),   QVariant(16.0f),     QVariant(QStringLiteral("n/a")),
                                     QVariant(true), QVariant(QString()), QVariant()};
    for (int i = 0; i < amounts.size(); ++i) {
        app.setCell(i + 2, 1, 1);
        app.setCell(i + 2, 2, amounts[i]);
    }
    app.pivotTableWizard(SourceTypeDatabase, QStringLiteral("Sheet1!C1:C2"), QString(), QStringLiteral("P"));
    app.addPivotFields(QStringLiteral("P"), {QStringLiteral("Round")}, {});
    app.setPivotFieldOrientation(QStringLiteral("P"), QStringLiteral("Amount"), PivotOrientation::Data);
    const Workbook& book = app.workbook(0);
    EXPECT_EQ(computePivot(book, book.pivots.front()).value(0, 0), 31.5);
    app.setPivotFieldFunction(QStringLiteral("P"), QStringLiteral("Sum of Amount"), PivotFunction::Count);
    // Every amount but the empty text and the empty cell.
    EXPECT_EQ(computePivot(book, book.pivots.front()).value(0, 0), 7.0);
}

} // namespace
} // namespace qv::analysis
