// The .xlsx package: its parts, cells and the native pivot table's definition.
#include "analysis/core/workbook.h"
#include "analysis/core/xlsx_writer.h"
#include "analysis/core/xml_text.h"
#include "common/error.h"
#include "support/temp_dir.h"
#include "zip_parts.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace qv::analysis {
namespace {

// The markets analysis' steps on two rows, one name in need of escaping.
WorkbookModel analysedWorkbook(bool net)
{
    WorkbookModel app;
    app.addWorkbook();
    app.activateSheet(QStringLiteral("sheet1"));
    const QVariant rows[][11] = {
        {QStringLiteral("Auction ID"), QStringLiteral("Round"), QStringLiteral("License Name"),
         QStringLiteral("Market"), QStringLiteral("Block"), QStringLiteral("Submarket"),
         QStringLiteral("Market Name"), QStringLiteral("Bidder"), QStringLiteral("Increments of Bid"),
         QStringLiteral("Gross Bid Amount"), QStringLiteral("Net Bid Amount")},
        {5, 3, QStringLiteral("A-1"), QStringLiteral("M1"), QStringLiteral("A"), 1, QStringLiteral("Albany"),
         QStringLiteral("Smith & <Sons> \"AT\""), 2, 1500.0, 1275.5},
        {5, 4, QStringLiteral("A-1"), QStringLiteral("M1"), QStringLiteral("A"), 1, QStringLiteral("Albany"),
         QStringLiteral("Heron"), 1, 1600.0, QVariant()},
    };
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 11; ++c)
            app.setCell(r + 1, c + 1, rows[r][c]);
    }
    const QString p = QStringLiteral("PivotTable1");
    app.pivotTableWizard(SourceTypeDatabase, QStringLiteral("Sheet1!C1:C11"), QString(), p);
    app.addPivotFields(p, {QStringLiteral("Round")},
                       {QStringLiteral("Market"), QStringLiteral("Block"), QStringLiteral("Submarket"),
                        QStringLiteral("Market Name"), QStringLiteral("Bidder"),
                        QStringLiteral("Increments of Bid")});
    for (const QString& f : {QStringLiteral("Round"), QStringLiteral("Market"), QStringLiteral("Block"),
                             QStringLiteral("Submarket"), QStringLiteral("Market Name"),
                             QStringLiteral("Bidder"), QStringLiteral("Increments of Bid")})
        app.setPivotFieldSubtotals(p, f, PivotSubtotals{});
    const QString source = net ? QStringLiteral("Net Bid Amount") : QStringLiteral("Gross Bid Amount");
    app.setPivotFieldOrientation(p, source, PivotOrientation::Data);
    app.setPivotFieldName(p, source, QStringLiteral("Sum of ") + source);
    app.setColumnGrand(p, false);
    app.setRowGrand(p, false);
    return app;
}

TEST(XlsxWriter, PackageHoldsTheSheetsAndANativePivotTable)
{
    test::TempDir folder;
    const QString path = folder.file(QStringLiteral("book.xlsx"));
    writeXlsx(analysedWorkbook(true).workbook(0), path);
    const auto parts = test::zipParts(path);
    for (const char* name :
         {"[Content_Types].xml", "_rels/.rels", "xl/workbook.xml", "xl/_rels/workbook.xml.rels",
          "xl/styles.xml", "xl/sharedStrings.xml", "xl/worksheets/sheet1.xml", "xl/worksheets/sheet2.xml",
          "xl/worksheets/_rels/sheet2.xml.rels", "xl/pivotTables/pivotTable1.xml",
          "xl/pivotTables/_rels/pivotTable1.xml.rels", "xl/pivotCache/pivotCacheDefinition1.xml"}) {
        ASSERT_TRUE(parts.contains(QLatin1String(name))) << name;
        // Every part is well-formed XML.
        QXmlStreamReader xml(parts.value(QLatin1String(name)));
        while (!xml.atEnd())
            xml.readNext();
        EXPECT_FALSE(xml.hasError()) << name << ": " << xml.errorString().toStdString();
    }
    const QByteArray sheet1 = parts.value(QStringLiteral("xl/worksheets/sheet1.xml"));
    // Numbers as numbers, the empty net amount left out, texts shared.
    EXPECT_TRUE(sheet1.contains("<c r=\"J2\"><v>1500</v></c><c r=\"K2\"><v>1275.5</v></c>"));
    EXPECT_TRUE(sheet1.contains("<c r=\"J3\"><v>1600</v></c></row>"));
    EXPECT_TRUE(sheet1.contains("<c r=\"A1\" t=\"s\">"));
    EXPECT_TRUE(sheet1.contains("<dimension ref=\"A1:K3\"/>")); // three rows, eleven columns
    EXPECT_TRUE(parts.value(QStringLiteral("xl/sharedStrings.xml"))
                    .contains("Smith &amp; &lt;Sons&gt; &quot;AT&quot;"));

    const QByteArray cache = parts.value(QStringLiteral("xl/pivotCache/pivotCacheDefinition1.xml"));
    EXPECT_TRUE(cache.contains("refreshOnLoad=\"1\""));
    EXPECT_TRUE(cache.contains("<worksheetSource ref=\"A1:K3\" sheet=\"Sheet1\"/>"));
    EXPECT_TRUE(cache.contains("<cacheFields count=\"11\">"));
    const QByteArray table = parts.value(QStringLiteral("xl/pivotTables/pivotTable1.xml"));
    EXPECT_TRUE(table.contains("name=\"PivotTable1\""));
    EXPECT_TRUE(table.contains("rowGrandTotals=\"0\" colGrandTotals=\"0\""));
    EXPECT_TRUE(table.contains("<rowFields count=\"1\"><field x=\"1\"/></rowFields>"));
    EXPECT_TRUE(table.contains("<colFields count=\"6\"><field x=\"3\"/><field x=\"4\"/><field x=\"5\"/>"
                               "<field x=\"6\"/><field x=\"7\"/><field x=\"8\"/></colFields>"));
    EXPECT_TRUE(table.contains("<dataField name=\"Sum of Net Bid Amount\" fld=\"10\""));
    EXPECT_EQ(table.count("defaultSubtotal=\"0\""), 7);
    const QByteArray workbook = parts.value(QStringLiteral("xl/workbook.xml"));
    EXPECT_TRUE(workbook.contains("<pivotCache cacheId=\"1\""));
    EXPECT_TRUE(workbook.contains("<sheet name=\"Sheet1\""));
}

TEST(XlsxWriter, AFileThatCannotBeWrittenIsAnError)
{
    test::TempDir folder;
    try {
        writeXlsx(analysedWorkbook(false).workbook(0), folder.file(QStringLiteral("missing/book.xlsx")));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), qv::err::PathNotFound); // as the text export says it
    }
}

// Texts come back from the file as they were: what XML cannot hold as the
// format's _xHHHH_, an underscore that would start one escaped, blanks at
// either end kept.
TEST(XlsxWriter, TextsAreWrittenSoTheyReadBackAsTheyWere)
{
    const struct {
        QString text;
        const char* written;
    } cases[] = {
        {QStringLiteral("Bell\x01"
                        "Co"),
         "Bell_x0001_Co"},
        {QStringLiteral("Bell\x1f"
                        "Co\x7f"),
         "Bell_x001F_Co\x7f"},
        {QStringLiteral("CR\rLF\nTAB\t"), "CR_x000D_LF&#10;TAB&#9;"},
        {QStringLiteral("_x0041_ and _xBeeF_"), "_x005F_x0041_ and _x005F_xBeeF_"},
        {QStringLiteral("_x004_ _x0041 _X0041_ x0041_"), "_x004_ _x0041 _X0041_ x0041_"},
        {QStringLiteral("end\uFFFF"), "end_xFFFF_"},
        {QString(QChar(0xD800)) + QStringLiteral("x"), "_xD800_x"},
        {QStringLiteral("\U0001F600 <&>"), "\xF0\x9F\x98\x80 &lt;&amp;&gt;"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(xlsxText(c.text), QByteArray(c.written)) << c.written;

    WorkbookModel app;
    app.addWorkbook();
    app.activateSheet(QStringLiteral("sheet1"));
    const QString cells[] = {QStringLiteral(" Lead"), QStringLiteral("Tail "), QStringLiteral("Heron"),
                             QStringLiteral("Bell\x01"
                                            "Co")};
    for (int column = 1; column <= 4; ++column)
        app.setCell(1, column, cells[column - 1]);
    test::TempDir folder;
    const QString path = folder.file(QStringLiteral("texts.xlsx"));
    writeXlsx(app.workbook(0), path);
    const QByteArray strings = test::zipParts(path).value(QStringLiteral("xl/sharedStrings.xml"));
    EXPECT_TRUE(strings.contains("<si><t xml:space=\"preserve\"> Lead</t></si>")) << strings.toStdString();
    EXPECT_TRUE(strings.contains("<si><t xml:space=\"preserve\">Tail </t></si>"));
    EXPECT_TRUE(strings.contains("<si><t>Heron</t></si>"));
    EXPECT_TRUE(strings.contains("<si><t>Bell_x0001_Co</t></si>"));
}

// References and numbers are written without the general text routines; they
// must spell what those spell, past Z and at the widest sheet's last column.
TEST(XlsxWriter, CellReferencesAndNumbersAsTheyAreSpelt)
{
    EXPECT_EQ(cellReference(7, 26), QByteArray("Z7"));
    EXPECT_EQ(cellReference(1, 27), QByteArray("AA1"));
    EXPECT_EQ(cellReference(12, 702), QByteArray("ZZ12"));
    EXPECT_EQ(cellReference(1048576, 16384), QByteArray("XFD1048576"));
    for (int column = 1; column <= 20000; ++column)
        ASSERT_EQ(cellReference(3, column), columnLetters(column).toLatin1() + '3') << column;

    for (const double number : {0.0, -0.0, 1500.0, -42.0, 1275.5, 1e15, 123456789012345.0, 0.1, -2.5e-7}) {
        QByteArray appended;
        appendXmlNumber(appended, number);
        EXPECT_EQ(appended, xmlNumber(number)) << number;
        EXPECT_EQ(appended.toDouble(), number);
    }
}

} // namespace
} // namespace qv::analysis
