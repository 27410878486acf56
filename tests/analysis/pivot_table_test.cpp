// The pivot computation against a plain sum over the same rows, and the
// workbook model's own rules.
#include "analysis/core/pivot_table.h"
#include "analysis/core/pivot_text.h"
#include "analysis/core/workbook.h"
#include "bids_workbook.h"
#include "common/error.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

namespace qv::analysis {
namespace {

// A sheet of random rows over small value sets, so keys repeat; some key and
// amount cells are empty, some amounts are texts.
WorkbookModel randomWorkbook(unsigned seed, int rows)
{
    std::mt19937 random(seed);
    auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    WorkbookModel app;
    app.addWorkbook();
    app.activateSheet(QStringLiteral("sheet1"));
    const QStringList header = {QStringLiteral("Round"), QStringLiteral("Market"), QStringLiteral("Bidder"),
                                QStringLiteral("Increments"), QStringLiteral("Amount")};
    for (int c = 0; c < header.size(); ++c)
        app.setCell(1, c + 1, header[c]);
    const QStringList markets = {QStringLiteral("b002"), QStringLiteral("B001"), QStringLiteral("B010")};
    const QStringList bidders = {QStringLiteral("Heron"), QStringLiteral("kestrel"),
                                 QStringLiteral("O'Brien")};
    for (int r = 2; r <= rows + 1; ++r) {
        app.setCell(r, 1, 1 + pick(5));
        app.setCell(r, 2, pick(8) == 0 ? QVariant() : QVariant(markets[pick(3)]));
        app.setCell(r, 3, bidders[pick(3)]);
        // 1 as an integer and as a double are one item.
        app.setCell(r, 4, pick(2) == 0 ? QVariant(1 + pick(3)) : QVariant(1.0 + pick(3)));
        const int kind = pick(10);
        app.setCell(r, 5,
                    kind == 0   ? QVariant()
                    : kind == 1 ? QVariant(QStringLiteral("n/a"))
                                : QVariant(100.0 * pick(50) + 0.25));
    }
    app.selectColumns(QStringLiteral("A:E"));
    app.pivotTableWizard(SourceTypeDatabase, QStringLiteral("Sheet1!C1:C5"), QString(), QStringLiteral("P"));
    app.addPivotFields(QStringLiteral("P"), {QStringLiteral("Round")},
                       {QStringLiteral("Market"), QStringLiteral("Bidder"), QStringLiteral("Increments")});
    app.setPivotFieldOrientation(QStringLiteral("P"), QStringLiteral("Amount"), PivotOrientation::Data);
    return app;
}

QString keyText(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("(empty)");
    return value.typeId() == QMetaType::QString ? value.toString() : QString::number(value.toDouble());
}

TEST(PivotTable, SumsEqualAPlainSumOverTheRows)
{
    for (unsigned seed : {1u, 2u, 3u}) {
        const WorkbookModel app = randomWorkbook(seed, 400);
        const Workbook& book = app.workbook(0);
        const Sheet& sheet = book.sheets.front();
        std::map<std::pair<QString, QString>, double> expected;
        std::set<QString> rowsSeen;
        std::set<QString> columnsSeen;
        for (int r = 2; r <= sheet.rowCount(); ++r) {
            const QString row = keyText(sheet.cell(r, 1));
            const QString column = keyText(sheet.cell(r, 2)) + QLatin1Char('|') + keyText(sheet.cell(r, 3)) +
                                   QLatin1Char('|') + keyText(sheet.cell(r, 4));
            rowsSeen.insert(row);
            columnsSeen.insert(column);
            const QVariant amount = sheet.cell(r, 5);
            if (amount.typeId() == QMetaType::Double)
                expected[{row, column}] += amount.toDouble();
        }
        const PivotResult pivot = computePivot(book, book.pivots.front());
        EXPECT_EQ(pivot.dataCaption, QStringLiteral("Sum of Amount"));
        ASSERT_EQ(pivot.rowCount(), static_cast<int>(rowsSeen.size()));
        ASSERT_EQ(pivot.columnCount(), static_cast<int>(columnsSeen.size()));
        size_t cells = 0;
        for (int r = 0; r < pivot.rowCount(); ++r) {
            for (int c = 0; c < pivot.columnCount(); ++c) {
                QStringList parts;
                for (int level = 0; level < 3; ++level) {
                    const PivotItem& item = pivot.columnItem(c, level);
                    parts << (item.kind == PivotItem::Kind::Number ? QString::number(item.number)
                                                                   : item.display());
                }
                const auto it = expected.find({pivot.rowItem(r, 0).display(), parts.join(QLatin1Char('|'))});
                if (it == expected.end()) {
                    EXPECT_FALSE(pivot.value(r, c)) << "row " << r << " column " << c;
                } else {
                    ++cells;
                    ASSERT_TRUE(pivot.value(r, c));
                    EXPECT_DOUBLE_EQ(*pivot.value(r, c), it->second);
                }
            }
        }
        EXPECT_EQ(cells, expected.size());
    }
}

TEST(PivotTable, ItemsSortNumbersThenTextsWithoutCaseThenEmpty)
{
    const WorkbookModel app = randomWorkbook(7, 300);
    const PivotResult pivot = computePivot(app.workbook(0), app.workbook(0).pivots.front());
    QStringList markets;
    for (int c = 0; c < pivot.columnCount(); ++c) {
        if (pivot.startsGroup(c, 0))
            markets << pivot.columnItem(c, 0).display();
    }
    EXPECT_EQ(markets, (QStringList{QStringLiteral("B001"), QStringLiteral("b002"), QStringLiteral("B010"),
                                    QStringLiteral("(empty)")}));
    // Groups: a column starts a group at a level when it starts one further out.
    for (int c = 0; c < pivot.columnCount(); ++c) {
        if (pivot.startsGroup(c, 0)) {
            EXPECT_TRUE(pivot.startsGroup(c, 2));
        }
        EXPECT_LE(pivot.groupFirst(c, 1), c);
        EXPECT_GE(pivot.groupLast(c, 1), c);
    }
}

TEST(PivotTable, TextLayoutMatchesSpreadsheetPrograms)
{
    WorkbookModel app;
    app.addWorkbook();
    app.activateSheet(QStringLiteral("SHEET1"));
    const QVariant rows[][4] = {
        {QStringLiteral("Round"), QStringLiteral("Market"), QStringLiteral("Bidder"),
         QStringLiteral("Gross")},
        {2, QStringLiteral("M1"), QStringLiteral("Heron\tNorth"), 10.5},
        {1, QStringLiteral("M1"), QStringLiteral("Kestrel"), 20},
        {1, QStringLiteral("M2"), QStringLiteral("Heron"), 30},
        {1, QStringLiteral("M1"), QStringLiteral("Kestrel"), 5},
    };
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 4; ++c)
            app.setCell(r + 1, c + 1, rows[r][c]);
    }
    app.pivotTableWizard(SourceTypeDatabase, QStringLiteral("Sheet1!C1:C4"), QString(),
                         QStringLiteral("PivotTable1"));
    app.addPivotFields(QStringLiteral("PivotTable1"), {QStringLiteral("Round")},
                       {QStringLiteral("Market"), QStringLiteral("Bidder")});
    app.setPivotFieldOrientation(QStringLiteral("PivotTable1"), QStringLiteral("Gross"),
                                 PivotOrientation::Data);
    app.setPivotFieldName(QStringLiteral("PivotTable1"), QStringLiteral("Gross"),
                          QStringLiteral("Sum of Gross"));
    app.setColumnGrand(QStringLiteral("PivotTable1"), false);
    app.setRowGrand(QStringLiteral("PivotTable1"), false);
    const Workbook& book = app.workbook(0);
    // A TAB inside a name is a blank: the line keeps its cells.
    EXPECT_EQ(pivotTsv(computePivot(book, book.pivots.front())),
              QStringLiteral("Sum of Gross\tMarket\tBidder\n"
                             "\tM1\t\tM2\n"
                             "Round\tHeron North\tKestrel\tHeron\n"
                             "1\t\t25\t30\n"
                             "2\t10.5\t\t\n"));
    // With grand totals on: a total column and a total line.
    app.setColumnGrand(QStringLiteral("PivotTable1"), true);
    app.setRowGrand(QStringLiteral("PivotTable1"), true);
    const QString withTotals = pivotTsv(computePivot(book, book.pivots.front()));
    EXPECT_TRUE(withTotals.endsWith(
        QStringLiteral("1\t\t25\t30\t55\n2\t10.5\t\t\t10.5\nGrand Total\t10.5\t25\t30\t65.5\n")))
        << withTotals.toStdString();
}

// Texts group as the database engine compares them: without regard to case,
// and composed and decomposed accents alike; the item shows the first
// spelling met, composed. A name one letter longer stays apart.
TEST(PivotTable, TextsDifferingInCaseOrCompositionAreOneItem)
{
    const WorkbookModel app = test::bidsWorkbook({
        {1, QStringLiteral("heron"), 1.0},
        {1, QStringLiteral("Cafe\u0301"), 2.0}, // decomposed
        {1, QStringLiteral("HERON"), 4.0},
        {1, QStringLiteral("Herons"), 8.0},
        {1, QStringLiteral("CAF\u00c9"), 16.0}, // composed
        {1, QStringLiteral("Heron"), 32.0},
        {1, QStringLiteral("Stra\u00dfe"), 64.0},
        {1, QStringLiteral("STRASSE"), 128.0},
    });
    const PivotResult pivot = computePivot(app.workbook(0), app.workbook(0).pivots.front());
    QStringList columns;
    for (int c = 0; c < pivot.columnCount(); ++c)
        columns << pivot.columnItem(c, 0).display() + QLatin1Char('=') + pivotValueText(pivot.value(0, c));
    EXPECT_EQ(columns, (QStringList{QStringLiteral("Caf\u00e9=18"), QStringLiteral("heron=37"),
                                    QStringLiteral("Herons=8"), QStringLiteral("Stra\u00dfe=192")}));
}

TEST(WorkbookModel, RefusesWhatASpreadsheetApplicationRefuses)
{
    WorkbookModel app;
    auto number = [](auto&& call) {
        try {
            call();
        } catch (const Error& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(number([&] { app.setCell(1, 1, 1); }), 91); // no workbook yet
    app.addWorkbook();
    EXPECT_EQ(number([&] { app.activateSheet(QStringLiteral("Sheet2")); }), 9);
    EXPECT_EQ(number([&] { app.setCell(0, 1, 1); }), 1004);
    app.setCell(1, 1, QStringLiteral("Round"));
    // A column without a name cannot be a field.
    EXPECT_EQ(number([&] {
                  app.pivotTableWizard(SourceTypeDatabase, QStringLiteral("Sheet1!C1:C2"), QString(),
                                       QStringLiteral("P"));
              }),
              1004);
    app.setCell(1, 2, QStringLiteral("Amount"));
    EXPECT_EQ(number([&] {
                  app.pivotTableWizard(SourceTypeDatabase, QStringLiteral("Sheet9!C1:C2"), QString(),
                                       QStringLiteral("P"));
              }),
              1004);
    app.pivotTableWizard(SourceTypeDatabase, QStringLiteral("sheet1!C1:C2"), QString(), QStringLiteral("P"));
    EXPECT_EQ(app.workbook(0).sheets.size(), 2u);
    EXPECT_EQ(number([&] {
                  app.setPivotFieldName(QStringLiteral("P"), QStringLiteral("Bidder"), QStringLiteral("x"));
              }),
              1004);
    EXPECT_EQ(number([&] { app.setRowGrand(QStringLiteral("PivotTable2"), false); }), 1004);
    // A field name it does not know: nothing moves, the fields placed stay.
    app.addPivotFields(QStringLiteral("P"), {QStringLiteral("Round")}, {});
    EXPECT_EQ(number([&] {
                  app.addPivotFields(QStringLiteral("P"), {QStringLiteral("Amount")},
                                     {QStringLiteral("Bidder")});
              }),
              1004);
    const PivotDefinition& pivot = app.workbook(0).pivots.front();
    EXPECT_EQ(pivot.rowFields, QStringList{QStringLiteral("Round")});
    EXPECT_TRUE(pivot.columnFields.isEmpty());
    EXPECT_EQ(pivot.field(QStringLiteral("Round"))->orientation, PivotOrientation::Row);
    EXPECT_EQ(pivot.field(QStringLiteral("Amount"))->orientation, PivotOrientation::Hidden);
    // Placing again hides a field not named again, from the columns as from the rows.
    app.addPivotFields(QStringLiteral("P"), {QStringLiteral("Amount")}, {QStringLiteral("Round")});
    app.addPivotFields(QStringLiteral("P"), {QStringLiteral("Amount")}, {});
    EXPECT_EQ(pivot.field(QStringLiteral("Round"))->orientation, PivotOrientation::Hidden);
    EXPECT_TRUE(pivot.columnFields.isEmpty());
}

} // namespace
} // namespace qv::analysis
