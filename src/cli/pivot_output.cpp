#include "cli/pivot_output.h"

#include "analysis/core/pivot_table.h"
#include "analysis/core/pivot_text.h"

namespace qv::cli {

namespace {

QVariant amount(const std::optional<double>& value)
{
    return value ? QVariant(*value) : QVariant();
}

// A row key as a value: numbers stay numbers.
QVariant key(const analysis::PivotItem& item)
{
    switch (item.kind) {
    case analysis::PivotItem::Kind::Number:
        return item.number;
    case analysis::PivotItem::Kind::Text:
        return item.text;
    case analysis::PivotItem::Kind::Empty:
        break;
    }
    return {};
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
    for (int r = 0; r < pivot.rowCount(); ++r) {
        QVariantList values;
        for (int level = 0; level < keys; ++level)
            values << key(pivot.rowItem(r, level));
        if (keys == 0)
            values << QVariant();
        for (int c = 0; c < pivot.columnCount(); ++c)
            values << amount(pivot.value(r, c));
        if (pivot.rowGrand)
            values << amount(pivot.rowTotal(r));
        writer.row(values);
    }
    if (pivot.columnGrand && pivot.rowCount() > 0) {
        QVariantList values{analysis::GrandTotalCaption};
        for (int level = 1; level < keys; ++level)
            values << QVariant();
        for (int c = 0; c < pivot.columnCount(); ++c)
            values << amount(pivot.columnTotal(c));
        if (pivot.rowGrand)
            values << amount(pivot.grandTotal());
        writer.row(values);
    }
    writer.finish();
}

} // namespace qv::cli
