#include "analysis/core/xlsx_pivot.h"

#include "analysis/core/pivot_table.h"
#include "analysis/core/workbook.h"
#include "analysis/core/xml_text.h"

#include <cmath>
#include <functional>

namespace qv::analysis {

namespace {

// What kinds of value a source column holds, as the cache describes it.
struct ColumnStats {
    bool text = false;
    bool number = false;
    bool blank = false;
    bool integers = true;
    double min = 0;
    double max = 0;
};

ColumnStats statsOf(const Sheet& source, int column)
{
    ColumnStats stats;
    for (int row = 2; row <= source.rowCount(); ++row) {
        const PivotItem item = PivotItem::of(source.cell(row, column));
        switch (item.kind) {
        case PivotItem::Kind::Empty:
            stats.blank = true;
            break;
        case PivotItem::Kind::Text:
            stats.text = true;
            break;
        case PivotItem::Kind::Number:
            stats.min = stats.number ? std::min(stats.min, item.number) : item.number;
            stats.max = stats.number ? std::max(stats.max, item.number) : item.number;
            stats.number = true;
            stats.integers = stats.integers && item.number == std::trunc(item.number);
            break;
        }
    }
    return stats;
}

QByteArray sharedItemsAttributes(const ColumnStats& s)
{
    QByteArray a;
    if (!s.text && !s.blank)
        a += " containsSemiMixedTypes=\"0\"";
    if (!s.text && !s.number && s.blank)
        a += " containsNonDate=\"0\"";
    if (!s.text)
        a += " containsString=\"0\"";
    if (s.blank)
        a += " containsBlank=\"1\"";
    if (s.text && s.number)
        a += " containsMixedTypes=\"1\"";
    if (s.number) {
        a += " containsNumber=\"1\"";
        if (s.integers)
            a += " containsInteger=\"1\"";
        a += " minValue=\"" + xmlNumber(s.min) + "\" maxValue=\"" + xmlNumber(s.max) + '"';
    }
    return a;
}

QByteArray itemXml(const PivotItem& item)
{
    switch (item.kind) {
    case PivotItem::Kind::Number:
        return "<n v=\"" + xmlNumber(item.number) + "\"/>";
    case PivotItem::Kind::Text:
        return "<s v=\"" + xlsxText(item.text) + "\"/>";
    case PivotItem::Kind::Empty:
        break;
    }
    return "<m/>";
}

// The items of a row or column field; nothing for other fields.
const std::vector<PivotItem>* axisItems(const PivotDefinition& pivot, const PivotResult& result,
                                        const QString& source)
{
    if (const qsizetype row = pivot.rowFields.indexOf(source); row >= 0)
        return &result.rowFieldItems(static_cast<int>(row));
    if (const qsizetype column = pivot.columnFields.indexOf(source); column >= 0)
        return &result.columnFieldItems(static_cast<int>(column));
    return nullptr;
}

// Row or column items: each key names its items from the first level where
// it differs from the key before ("r" counts the levels it repeats).
QByteArray axisItemsXml(const char* element, int count,
                        const std::function<const std::vector<int>&(int)>& key)
{
    QByteArray xml = QByteArray("<") + element + " count=\"" + QByteArray::number(count) + "\">";
    const std::vector<int>* before = nullptr;
    for (int i = 0; i < count; ++i) {
        const std::vector<int>& here = key(i);
        size_t repeat = 0;
        if (before != nullptr) {
            while (repeat < here.size() && repeat + 1 < here.size() && here[repeat] == (*before)[repeat])
                ++repeat;
        }
        xml += repeat > 0 ? "<i r=\"" + QByteArray::number(qulonglong(repeat)) + "\">" : QByteArray("<i>");
        for (size_t level = repeat; level < here.size(); ++level)
            xml +=
                here[level] == 0 ? QByteArray("<x/>") : "<x v=\"" + QByteArray::number(here[level]) + "\"/>";
        if (here.empty())
            xml += "<x/>";
        xml += "</i>";
        before = &here;
    }
    return xml + "</" + element + '>';
}

} // namespace

QByteArray pivotCacheDefinitionXml(const PivotDefinition& pivot, const Sheet& source,
                                   const PivotResult& result)
{
    const int lastRow = std::max(1, source.rowCount());
    const QByteArray range =
        cellReference(1, pivot.firstColumn) + ':' + cellReference(lastRow, pivot.lastColumn);
    QByteArray xml = XmlDeclaration;
    xml += "<pivotCacheDefinition xmlns=\"" + QByteArray(MainNamespace) + "\" xmlns:r=\"" +
           QByteArray(RelationshipNamespace) +
           "\" refreshOnLoad=\"1\" saveData=\"0\" createdVersion=\"3\" refreshedVersion=\"3\" "
           "minRefreshableVersion=\"3\" recordCount=\"" +
           QByteArray::number(lastRow - 1) + "\">";
    xml += "<cacheSource type=\"worksheet\"><worksheetSource ref=\"" + range + "\" sheet=\"" +
           xmlEscaped(pivot.sourceSheet) + "\"/></cacheSource>";
    xml += "<cacheFields count=\"" + QByteArray::number(qulonglong(pivot.fields.size())) + "\">";
    for (size_t f = 0; f < pivot.fields.size(); ++f) {
        const PivotFieldSettings& field = pivot.fields[f];
        const ColumnStats stats = statsOf(source, pivot.firstColumn + static_cast<int>(f));
        xml += "<cacheField name=\"" + xlsxText(field.source) + "\" numFmtId=\"0\"><sharedItems" +
               sharedItemsAttributes(stats);
        const std::vector<PivotItem>* items = axisItems(pivot, result, field.source);
        if (items == nullptr) {
            xml += "/></cacheField>";
            continue;
        }
        xml += " count=\"" + QByteArray::number(qulonglong(items->size())) + "\">";
        for (const PivotItem& item : *items)
            xml += itemXml(item);
        xml += "</sharedItems></cacheField>";
    }
    xml += "</cacheFields></pivotCacheDefinition>";
    return xml;
}

PivotPlacement pivotPlacement(const PivotResult& result)
{
    // One line for the data field's name and the column fields' buttons, one
    // per column field for its items, then one per row key (and the totals).
    PivotPlacement place;
    const int keyColumns = std::max<int>(1, static_cast<int>(result.rowFields.size()));
    place.rows = 1 + std::max<int>(1, static_cast<int>(result.columnFields.size())) + result.rowCount() +
                 (result.columnGrand ? 1 : 0);
    place.columns = keyColumns + std::max(1, result.columnCount()) + (result.rowGrand ? 1 : 0);
    return place;
}

QByteArray pivotTableXml(const PivotDefinition& pivot, const PivotResult& result, int cacheId)
{
    const PivotPlacement place = pivotPlacement(result);
    const QByteArray ref = cellReference(place.top, place.left) + ':' +
                           cellReference(place.top + place.rows - 1, place.left + place.columns - 1);
    const int headerLines = std::max<int>(1, static_cast<int>(pivot.columnFields.size()));
    QByteArray xml = XmlDeclaration;
    xml +=
        "<pivotTableDefinition xmlns=\"" + QByteArray(MainNamespace) + "\" name=\"" + xmlEscaped(pivot.name) +
        "\" cacheId=\"" + QByteArray::number(cacheId) +
        "\" dataCaption=\"Values\" applyNumberFormats=\"0\" applyBorderFormats=\"0\" applyFontFormats=\"0\" "
        "applyPatternFormats=\"0\" applyAlignmentFormats=\"0\" applyWidthHeightFormats=\"1\" "
        "updatedVersion=\"3\" minRefreshableVersion=\"3\" createdVersion=\"3\" useAutoFormatting=\"1\" "
        "itemPrintTitles=\"1\" indent=\"0\" compact=\"0\" compactData=\"0\" gridDropZones=\"1\" "
        "rowGrandTotals=\"" +
        QByteArray(pivot.rowGrand ? "1" : "0") + "\" colGrandTotals=\"" +
        QByteArray(pivot.columnGrand ? "1" : "0") + "\">";
    xml += "<location ref=\"" + ref + "\" firstHeaderRow=\"1\" firstDataRow=\"" +
           QByteArray::number(1 + headerLines) + "\" firstDataCol=\"" +
           QByteArray::number(std::max<int>(1, static_cast<int>(pivot.rowFields.size()))) + "\"/>";

    xml += "<pivotFields count=\"" + QByteArray::number(qulonglong(pivot.fields.size())) + "\">";
    for (const PivotFieldSettings& field : pivot.fields) {
        xml += "<pivotField";
        if (field.orientation == PivotOrientation::Row)
            xml += " axis=\"axisRow\"";
        else if (field.orientation == PivotOrientation::Column)
            xml += " axis=\"axisCol\"";
        if (pivot.dataFields.contains(field.source))
            xml += " dataField=\"1\"";
        if (field.caption != field.source && !pivot.dataFields.contains(field.source))
            xml += " name=\"" + xlsxText(field.caption) + '"';
        xml += " compact=\"0\" outline=\"0\" showAll=\"0\"";
        if (!field.subtotals)
            xml += " defaultSubtotal=\"0\"";
        const std::vector<PivotItem>* items = axisItems(pivot, result, field.source);
        if (items == nullptr) {
            xml += "/>";
            continue;
        }
        const int count = static_cast<int>(items->size()) + (field.subtotals ? 1 : 0);
        xml += "><items count=\"" + QByteArray::number(count) + "\">";
        for (size_t i = 0; i < items->size(); ++i)
            xml += "<item x=\"" + QByteArray::number(qulonglong(i)) + "\"/>";
        if (field.subtotals)
            xml += "<item t=\"default\"/>";
        xml += "</items></pivotField>";
    }
    xml += "</pivotFields>";

    if (!pivot.rowFields.isEmpty()) {
        xml += "<rowFields count=\"" + QByteArray::number(pivot.rowFields.size()) + "\">";
        for (const QString& name : pivot.rowFields)
            xml += "<field x=\"" + QByteArray::number(pivot.fieldIndex(name)) + "\"/>";
        xml += "</rowFields>";
        xml += axisItemsXml("rowItems", result.rowCount(),
                            [&result](int i) -> const std::vector<int>& { return result.rowKey(i); });
    }
    if (!pivot.columnFields.isEmpty()) {
        xml += "<colFields count=\"" + QByteArray::number(pivot.columnFields.size()) + "\">";
        for (const QString& name : pivot.columnFields)
            xml += "<field x=\"" + QByteArray::number(pivot.fieldIndex(name)) + "\"/>";
        xml += "</colFields>";
        xml += axisItemsXml("colItems", result.columnCount(),
                            [&result](int i) -> const std::vector<int>& { return result.columnKey(i); });
    }
    if (!pivot.dataFields.isEmpty()) {
        xml += "<dataFields count=\"" + QByteArray::number(pivot.dataFields.size()) + "\">";
        for (const QString& name : pivot.dataFields) {
            const PivotFieldSettings* field = pivot.field(name);
            xml += "<dataField name=\"" + xlsxText(field->caption) + "\" fld=\"" +
                   QByteArray::number(pivot.fieldIndex(name)) + '"';
            if (field->function == PivotFunction::Count)
                xml += " subtotal=\"count\"";
            xml += " baseField=\"0\" baseItem=\"0\"/>";
        }
        xml += "</dataFields>";
    }
    xml += "<pivotTableStyleInfo name=\"PivotStyleLight16\" showRowHeaders=\"1\" showColHeaders=\"1\" "
           "showRowStripes=\"0\" showColStripes=\"0\" showLastColumn=\"1\"/>";
    xml += "</pivotTableDefinition>";
    return xml;
}

} // namespace qv::analysis
