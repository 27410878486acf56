#include "analysis/core/pivot_text.h"

#include "analysis/core/pivot_table.h"
#include "common/cell_text.h"
#include "common/number_display.h"
#include "common/safe_file.h"

#include <string>

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
    ByteBuffer text;
    writePivotTsv(text, pivot);
    return QString::fromUtf8(text.bytes);
}

namespace {

// Lines of TAB-separated cells, written out in 64 KiB pieces.
class TsvLines {
public:
    explicit TsvLines(ByteSink& out) : out_(out) {}
    // A cell; every cell but a line's first is preceded by a TAB. A TAB or
    // line break inside a name is written as a blank: it would split the line.
    void cell(const QString& text)
    {
        separate();
        QByteArray utf8 = text.toUtf8();
        for (char& c : utf8)
            if (c == '\t' || c == '\n' || c == '\r')
                c = ' ';
        text_.append(utf8.constData(), size_t(utf8.size()));
    }
    void cell(const std::optional<double>& value)
    {
        separate();
        if (value)
            appendNumberText(text_, *value);
    }
    void cells(const QStringList& texts)
    {
        for (const QString& text : texts)
            cell(text);
    }
    // count empty cells.
    void emptyCells(int count)
    {
        if (count <= 0)
            return;
        if (any_)
            text_.append(size_t(count), '\t');
        else
            text_.append(size_t(count - 1), '\t');
        any_ = true;
    }
    void endLine()
    {
        text_ += '\n';
        any_ = false;
        if (text_.size() >= (size_t(1) << 16))
            flush();
    }
    void flush()
    {
        out_.write(text_.data(), qsizetype(text_.size()));
        text_.clear();
    }

private:
    void separate()
    {
        if (any_)
            text_ += '\t';
        any_ = true;
    }

    ByteSink& out_;
    std::string text_;
    bool any_ = false; // a cell is on the current line
};

} // namespace

void writePivotTsv(ByteSink& out, const PivotResult& pivot)
{
    TsvLines lines(out);
    const int keyCells = std::max<int>(1, static_cast<int>(pivot.rowFields.size()));
    const int columns = pivot.columnCount();
    const int levels = static_cast<int>(pivot.columnFields.size());

    // The data field's name, then the column fields' names side by side.
    lines.cell(pivot.dataCaption);
    lines.emptyCells(keyCells - 1);
    lines.cells(pivot.columnFields);
    lines.endLine();
    // One line per column field with its items where their groups begin; the
    // row fields' names open the last of them.
    for (int level = 0; level < std::max(1, levels); ++level) {
        const QStringList keys = level == std::max(1, levels) - 1 ? pivot.rowFields : QStringList();
        lines.cells(keys);
        lines.emptyCells(keyCells - static_cast<int>(keys.size()));
        for (int c = 0; c < columns && level < levels; ++c) {
            if (pivot.startsGroup(c, level))
                lines.cell(pivot.columnItem(c, level).display());
            else
                lines.emptyCells(1);
        }
        if (pivot.rowGrand)
            lines.cell(level == 0 ? GrandTotalCaption : QString());
        lines.endLine();
    }
    // The rows, passing over the empty cells.
    const std::vector<PivotResult::Cell> cells = pivot.cellsInOrder();
    auto next = cells.begin();
    for (int r = 0; r < pivot.rowCount(); ++r) {
        const int rowFields = static_cast<int>(pivot.rowFields.size());
        for (int level = 0; level < rowFields; ++level)
            lines.cell(pivot.rowItem(r, level).display());
        lines.emptyCells(keyCells - rowFields);
        int written = 0; // columns written so far
        for (; next != cells.end() && next->row == r; ++next) {
            lines.emptyCells(next->column - written);
            lines.cell(next->value);
            written = next->column + 1;
        }
        lines.emptyCells(columns - written);
        if (pivot.rowGrand)
            lines.cell(pivot.rowTotal(r));
        lines.endLine();
    }
    if (pivot.columnGrand && pivot.rowCount() > 0) {
        lines.cell(GrandTotalCaption);
        lines.emptyCells(keyCells - 1);
        for (int c = 0; c < columns; ++c)
            lines.cell(pivot.columnTotal(c));
        if (pivot.rowGrand)
            lines.cell(pivot.grandTotal());
        lines.endLine();
    }
    lines.flush();
}

} // namespace qv::analysis
