#include "cli/pivot_output.h"

#include "analysis/core/pivot_table.h"
#include "analysis/core/pivot_text.h"

namespace qv::cli {

namespace {

void amountCell(TableWriter& writer, const std::optional<double>& value)
{
    if (value)
        writer.numberCell(*value);
    else
        writer.nullCell();
}

// A row key as a value: numbers stay numbers.
void keyCell(TableWriter& writer, const analysis::PivotItem& item)
{
    switch (item.kind) {
    case analysis::PivotItem::Kind::Number:
        return writer.numberCell(item.number);
    case analysis::PivotItem::Kind::Text:
        return writer.valueCell(item.text);
    case analysis::PivotItem::Kind::Empty:
        return writer.nullCell();
    }
}

} // namespace

void writePivotTable(ByteSink& out, const analysis::PivotResult& pivot, OutputFormat format)
{
    const int keys = static_cast<int>(pivot.rowFields.size());
    QStringList fields = keys > 0 ? pivot.rowFields : QStringList{pivot.dataCaption};
    for (int c = 0; c < pivot.columnCount(); ++c) {
        QStringList items;
        for (int level = 0; level < pivot.columnFields.size(); ++level)
            items << pivot.columnItem(c, level).display();
        fields << (items.isEmpty() ? pivot.dataCaption : items.join(QStringLiteral(" / ")));
    }
    if (pivot.rowGrand)
        fields << analysis::GrandTotalCaption;

    TableWriter writer(out, format);
    writer.header(fields);
    // Row by row as written, passing over the empty cells.
    const std::vector<analysis::PivotResult::Cell> cells = pivot.cellsInOrder();
    auto next = cells.begin();
    for (int r = 0; r < pivot.rowCount(); ++r) {
        writer.beginRow();
        for (int level = 0; level < keys; ++level)
            keyCell(writer, pivot.rowItem(r, level));
        if (keys == 0)
            writer.nullCell();
        int written = 0;
        for (; next != cells.end() && next->row == r; ++next) {
            for (; written < next->column; ++written)
                writer.nullCell();
            writer.numberCell(next->value);
            written = next->column + 1;
        }
        for (; written < pivot.columnCount(); ++written)
            writer.nullCell();
        if (pivot.rowGrand)
            amountCell(writer, pivot.rowTotal(r));
        writer.endRow();
    }
    if (pivot.columnGrand && pivot.rowCount() > 0) {
        writer.beginRow();
        writer.valueCell(analysis::GrandTotalCaption);
        for (int level = 1; level < keys; ++level)
            writer.nullCell();
        for (int c = 0; c < pivot.columnCount(); ++c)
            amountCell(writer, pivot.columnTotal(c));
        if (pivot.rowGrand)
            amountCell(writer, pivot.grandTotal());
        writer.endRow();
    }
    writer.finish();
}

} // namespace qv::cli
