#include "analysis/core/xlsx_writer.h"

#include "analysis/core/pivot_table.h"
#include "analysis/core/workbook.h"
#include "analysis/core/xlsx_layout.h"
#include "analysis/core/xlsx_pivot.h"
#include "analysis/core/xml_text.h"
#include "analysis/core/zip_package.h"

#include <QHash>

namespace qv::analysis {

namespace {

// Every text of the workbook once, referred to by position. Texts are
// written composed (NFC): a program that groups the cells sees one name where
// the pivot table groups one.
class SharedStrings {
public:
    int indexOf(const QString& text)
    {
        ++uses_;
        const auto it = index_.constFind(text);
        if (it != index_.constEnd())
            return it.value();
        const QString composed = text.normalized(QString::NormalizationForm_C);
        int position = static_cast<int>(texts_.size());
        if (const auto same = index_.constFind(composed); same != index_.constEnd())
            position = same.value();
        else
            texts_ << composed;
        index_.insert(text, position);
        index_.insert(composed, position);
        return position;
    }

    QByteArray xml() const
    {
        QByteArray xml = XmlDeclaration;
        xml += "<sst xmlns=\"" + QByteArray(MainNamespace) + "\" count=\"" + QByteArray::number(uses_) +
               "\" uniqueCount=\"" + QByteArray::number(texts_.size()) + "\">";
        for (const QString& text : texts_) {
            const bool keepSpaces = text != text.trimmed();
            xml += keepSpaces ? QByteArray("<si><t xml:space=\"preserve\">") : QByteArray("<si><t>");
            xml += xlsxText(text) + "</t></si>";
        }
        return xml + "</sst>";
    }

private:
    QHash<QString, int> index_;
    QStringList texts_;
    int uses_ = 0;
};

// A sheet's cells, numbers in their column's number format, and its columns
// as wide as their texts (and as `widths` already holds, for a pivot table's).
QByteArray sheetXml(const Sheet& sheet, SharedStrings& strings, const NumberFormats& formats,
                    ColumnWidths widths)
{
    QByteArray xml = XmlDeclaration;
    // About 30 bytes a cell; one allocation instead of a growing part.
    xml.reserve(qsizetype(sheet.rowCount()) * qsizetype(sheet.columnCount()) * 30 + 1024);
    xml += "<worksheet xmlns=\"" + QByteArray(MainNamespace) + "\" xmlns:r=\"" +
           QByteArray(RelationshipNamespace) + "\">";
    if (sheet.rowCount() > 0 && sheet.columnCount() > 0)
        xml += "<dimension ref=\"A1:" + cellReference(sheet.rowCount(), sheet.columnCount()) + "\"/>";
    // The column widths go here, once every cell has been measured.
    const qsizetype columnsAt = xml.size();
    std::vector<QByteArray> styles;
    std::vector<char> grouped;
    for (int column = 1; column <= sheet.columnCount(); ++column) {
        const QString format = sheet.numberFormat(column);
        const int style = formats.style(format);
        styles.push_back(style == 0 ? QByteArray() : " s=\"" + QByteArray::number(style) + '"');
        grouped.push_back(format.contains(QLatin1Char(',')) ? 1 : 0);
    }
    xml += "<sheetData>";
    for (int row = 1; row <= sheet.rowCount(); ++row) {
        xml += "<row r=\"";
        appendInteger(xml, row);
        xml += "\">";
        for (int column = 1; column <= sheet.columnCount(); ++column) {
            const PivotItem item = PivotItem::of(sheet.cell(row, column));
            if (item.kind == PivotItem::Kind::Empty)
                continue;
            xml += "<c r=\"";
            appendCellReference(xml, row, column);
            if (item.kind == PivotItem::Kind::Number) {
                xml += '"' + styles[size_t(column - 1)] + "><v>";
                const qsizetype before = xml.size();
                appendXmlNumber(xml, item.number);
                widths.fit(column, grouped[size_t(column - 1)] != 0 ? shownLength(item.number, true)
                                                                    : static_cast<int>(xml.size() - before));
            } else {
                xml += "\" t=\"s\"><v>";
                appendInteger(xml, strings.indexOf(item.text));
                widths.fit(column, static_cast<int>(item.text.size()));
            }
            xml += "</v></c>";
        }
        xml += "</row>";
    }
    xml.insert(columnsAt, widths.xml());
    return xml + "</sheetData></worksheet>";
}

QByteArray relationship(int id, const char* type, const QByteArray& target)
{
    return "<Relationship Id=\"rId" + QByteArray::number(id) +
           "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/" + type +
           "\" Target=\"" + target + "\"/>";
}

QByteArray relationships(const QByteArray& inner)
{
    return QByteArray(XmlDeclaration) +
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + inner +
           "</Relationships>";
}

const char contentTypePrefix[] = "application/vnd.openxmlformats-officedocument.spreadsheetml.";

QByteArray overrideType(const QByteArray& part, const char* type)
{
    return "<Override PartName=\"" + part + "\" ContentType=\"" + QByteArray(contentTypePrefix) + type +
           "\"/>";
}

} // namespace

int pivotSheetColumns(const PivotResult& pivot)
{
    return pivotPlacement(pivot).columns;
}

void writeXlsx(const Workbook& book, const QString& path)
{
    ZipPackage package;
    SharedStrings strings;
    QByteArray types = QByteArray(XmlDeclaration) +
                       "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                       "<Default Extension=\"rels\" "
                       "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                       "<Default Extension=\"xml\" ContentType=\"application/xml\"/>" +
                       overrideType("/xl/workbook.xml", "sheet.main+xml") +
                       overrideType("/xl/styles.xml", "styles+xml") +
                       overrideType("/xl/sharedStrings.xml", "sharedStrings+xml");
    QByteArray sheetsXml;
    QByteArray workbookRels;
    QByteArray cachesXml;
    int nextId = 1;
    const NumberFormats formats(book);
    std::vector<PivotResult> results;
    for (const PivotDefinition& pivot : book.pivots)
        results.push_back(computePivot(book, pivot));
    for (size_t s = 0; s < book.sheets.size(); ++s) {
        const Sheet& sheet = book.sheets[s];
        const QByteArray number = QByteArray::number(qulonglong(s + 1));
        const QByteArray part = "worksheets/sheet" + number + ".xml";
        // A pivot table's sheet is as wide as the table the programs will lay out on it.
        ColumnWidths widths;
        for (size_t p = 0; p < book.pivots.size(); ++p) {
            const PivotDefinition& pivot = book.pivots[p];
            if (pivot.sheet.compare(sheet.name(), Qt::CaseInsensitive) != 0)
                continue;
            const QString format =
                pivot.dataFields.isEmpty() ? QString() : pivot.field(pivot.dataFields.front())->numberFormat;
            fitPivotColumns(results[p], pivotPlacement(results[p]).left, format, widths);
        }
        package.add(QStringLiteral("xl/") + QString::fromLatin1(part),
                    sheetXml(sheet, strings, formats, widths));
        types += overrideType("/xl/" + part, "worksheet+xml");
        sheetsXml += "<sheet name=\"" + xmlEscaped(sheet.name()) + "\" sheetId=\"" + number +
                     "\" r:id=\"rId" + QByteArray::number(nextId) + "\"/>";
        workbookRels += relationship(nextId++, "worksheet", part);

        // The pivot tables that live on this sheet, each with its own cache.
        QByteArray sheetRels;
        int sheetRelId = 1;
        for (size_t p = 0; p < book.pivots.size(); ++p) {
            const PivotDefinition& pivot = book.pivots[p];
            if (pivot.sheet.compare(sheet.name(), Qt::CaseInsensitive) != 0)
                continue;
            const Sheet* source = book.sheet(pivot.sourceSheet);
            const Sheet empty(pivot.sourceSheet);
            const Sheet& rows = source != nullptr ? *source : empty;
            const PivotResult& result = results[p];
            const QByteArray n = QByteArray::number(qulonglong(p + 1));
            const QByteArray cachePart = "pivotCache/pivotCacheDefinition" + n + ".xml";
            const QByteArray tablePart = "pivotTables/pivotTable" + n + ".xml";
            package.add(QStringLiteral("xl/") + QString::fromLatin1(cachePart),
                        pivotCacheDefinitionXml(pivot, rows, result));
            package.add(QStringLiteral("xl/") + QString::fromLatin1(tablePart),
                        pivotTableXml(pivot, result, static_cast<int>(p + 1), formats));
            package.add(QStringLiteral("xl/pivotTables/_rels/pivotTable") + QString::fromLatin1(n) +
                            QStringLiteral(".xml.rels"),
                        relationships(relationship(1, "pivotCacheDefinition",
                                                   "../pivotCache/pivotCacheDefinition" + n + ".xml")));
            types += overrideType("/xl/" + cachePart, "pivotCacheDefinition+xml");
            types += overrideType("/xl/" + tablePart, "pivotTable+xml");
            cachesXml += "<pivotCache cacheId=\"" + n + "\" r:id=\"rId" + QByteArray::number(nextId) + "\"/>";
            workbookRels += relationship(nextId++, "pivotCacheDefinition", cachePart);
            sheetRels += relationship(sheetRelId++, "pivotTable", "../" + tablePart);
        }
        if (!sheetRels.isEmpty())
            package.add(QStringLiteral("xl/worksheets/_rels/sheet") + QString::fromLatin1(number) +
                            QStringLiteral(".xml.rels"),
                        relationships(sheetRels));
    }
    workbookRels += relationship(nextId++, "styles", "styles.xml");
    workbookRels += relationship(nextId++, "sharedStrings", "sharedStrings.xml");

    QByteArray workbook = XmlDeclaration;
    workbook += "<workbook xmlns=\"" + QByteArray(MainNamespace) + "\" xmlns:r=\"" +
                QByteArray(RelationshipNamespace) + "\"><bookViews><workbookView activeTab=\"" +
                QByteArray::number(std::max(0, book.activeSheet)) + "\"/></bookViews><sheets>" + sheetsXml +
                "</sheets>";
    if (!cachesXml.isEmpty())
        workbook += "<pivotCaches>" + cachesXml + "</pivotCaches>";
    workbook += "</workbook>";

    package.add(QStringLiteral("[Content_Types].xml"), types + "</Types>");
    package.add(QStringLiteral("_rels/.rels"),
                relationships(relationship(1, "officeDocument", "xl/workbook.xml")));
    package.add(QStringLiteral("xl/workbook.xml"), workbook);
    package.add(QStringLiteral("xl/_rels/workbook.xml.rels"), relationships(workbookRels));
    package.add(QStringLiteral("xl/styles.xml"), formats.stylesXml());
    package.add(QStringLiteral("xl/sharedStrings.xml"), strings.xml());
    package.write(path);
}

} // namespace qv::analysis
