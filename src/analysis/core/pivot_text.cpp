#include "analysis/core/pivot_text.h"

#include "analysis/core/pivot_table.h"
#include "common/cell_text.h"

namespace qv::analysis {

QString pivotValueText(const std::optional<double>& value)
{
    return value ? cellDisplay(QVariant(*value)) : QString();
}

std::vector<QStringList> pivotLines(const PivotResult& pivot)
{
    std::vector<QStringList> lines;
    const int keyCells = std::max<int>(1, static_cast<int>(pivot.rowFields.size()));
    const int columns = pivot.columnCount();
    const int levels = static_cast<int>(pivot.columnFields.size());
    auto keyColumns = [keyCells](QStringList line) {
        while (line.size() < keyCells)
            line << QString();
        return line;
    };

    // The data field's name, then the column fields' names side by side.
    lines.push_back(keyColumns({pivot.dataCaption}) + pivot.columnFields);
    // One line per column field with its items where their groups begin; the
    // row fields' names open the last of them.
    for (int level = 0; level < std::max(1, levels); ++level) {
        QStringList line = keyColumns(level == std::max(1, levels) - 1 ? pivot.rowFields : QStringList());
        for (int c = 0; c < columns && level < levels; ++c)
            line << (pivot.startsGroup(c, level) ? pivot.columnItem(c, level).display() : QString());
        if (pivot.rowGrand)
            line << (level == 0 ? GrandTotalCaption : QString());
        lines.push_back(line);
    }
    for (int r = 0; r < pivot.rowCount(); ++r) {
        QStringList line;
        for (int level = 0; level < pivot.rowFields.size(); ++level)
            line << pivot.rowItem(r, level).display();
        line = keyColumns(line);
        for (int c = 0; c < columns; ++c)
            line << pivotValueText(pivot.value(r, c));
        if (pivot.rowGrand)
            line << pivotValueText(pivot.rowTotal(r));
        lines.push_back(line);
    }
    if (pivot.columnGrand && pivot.rowCount() > 0) {
        QStringList line = keyColumns({GrandTotalCaption});
        for (int c = 0; c < columns; ++c)
            line << pivotValueText(pivot.columnTotal(c));
        if (pivot.rowGrand)
            line << pivotValueText(pivot.grandTotal());
        lines.push_back(line);
    }
    return lines;
}

QString pivotTsv(const PivotResult& pivot)
{
    QString text;
    for (const QStringList& line : pivotLines(pivot))
        text += line.join(QLatin1Char('\t')) + QLatin1Char('\n');
    return text;
}

} // namespace qv::analysis
