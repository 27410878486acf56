#include "analysis/core/xlsx_layout.h"

#include "analysis/core/pivot_table.h"
#include "analysis/core/pivot_text.h"
#include "analysis/core/workbook.h"
#include "analysis/core/xml_text.h"

#include <cmath>

namespace qv::analysis {

namespace {

// The first id a workbook's own number formats take; those below are built in.
constexpr int FirstCustomFormat = 164;

// Columns no narrower than the programs' default and no wider than a screenful.
constexpr int NarrowestColumn = 8;
constexpr int WidestColumn = 80;

} // namespace

NumberFormats::NumberFormats(const Workbook& book)
{
    const auto add = [this](const QString& format) {
        if (!format.isEmpty() && !formats_.contains(format))
            formats_ << format;
    };
    for (const Sheet& sheet : book.sheets)
        for (int column = 1; column <= sheet.columnCount(); ++column)
            add(sheet.numberFormat(column));
    for (const PivotDefinition& pivot : book.pivots)
        for (const PivotFieldSettings& field : pivot.fields)
            add(field.numberFormat);
}

int NumberFormats::id(const QString& format) const
{
    const qsizetype at = format.isEmpty() ? -1 : formats_.indexOf(format);
    return at < 0 ? 0 : FirstCustomFormat + static_cast<int>(at);
}

int NumberFormats::style(const QString& format) const
{
    const qsizetype at = format.isEmpty() ? -1 : formats_.indexOf(format);
    return at < 0 ? 0 : 1 + static_cast<int>(at);
}

QByteArray NumberFormats::stylesXml() const
{
    QByteArray xml = XmlDeclaration;
    xml += "<styleSheet xmlns=\"" + QByteArray(MainNamespace) + "\">";
    if (!formats_.isEmpty()) {
        xml += "<numFmts count=\"" + QByteArray::number(formats_.size()) + "\">";
        for (const QString& format : formats_)
            xml += "<numFmt numFmtId=\"" + QByteArray::number(id(format)) + "\" formatCode=\"" +
                   xmlEscaped(format) + "\"/>";
        xml += "</numFmts>";
    }
    xml += "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
           "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
           "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
           "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
           "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
           "borderId=\"0\"/></cellStyleXfs>";
    xml += "<cellXfs count=\"" + QByteArray::number(formats_.size() + 1) +
           "\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>";
    for (const QString& format : formats_)
        xml += "<xf numFmtId=\"" + QByteArray::number(id(format)) +
               "\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/>";
    xml += "</cellXfs>"
           "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
           "</styleSheet>";
    return xml;
}

void ColumnWidths::fit(int column, int characters)
{
    if (column < 1)
        return;
    if (column > static_cast<int>(characters_.size()))
        characters_.resize(static_cast<size_t>(column), 0);
    int& widest = characters_[static_cast<size_t>(column - 1)];
    widest = std::max(widest, characters);
}

QByteArray ColumnWidths::xml() const
{
    if (characters_.empty())
        return {};
    // Neighbours of one width share an element: a pivot table has thousands of columns.
    QByteArray xml = "<cols>";
    const int count = static_cast<int>(characters_.size());
    for (int first = 1; first <= count;) {
        const int width =
            std::clamp(characters_[static_cast<size_t>(first - 1)] + 2, NarrowestColumn, WidestColumn);
        int last = first;
        while (last < count &&
               std::clamp(characters_[static_cast<size_t>(last)] + 2, NarrowestColumn, WidestColumn) == width)
            ++last;
        xml += "<col min=\"" + QByteArray::number(first) + "\" max=\"" + QByteArray::number(last) +
               "\" width=\"" + QByteArray::number(width) + "\" customWidth=\"1\"/>";
        first = last + 1;
    }
    return xml + "</cols>";
}

int shownLength(double value, bool grouped)
{
    if (!grouped)
        return static_cast<int>(xmlNumber(value).size());
    const double whole = std::fabs(std::round(value));
    const int digits = whole < 10 ? 1 : static_cast<int>(std::floor(std::log10(whole))) + 1;
    return digits + (digits - 1) / 3 + (std::round(value) < 0 ? 1 : 0);
}

void fitPivotColumns(const PivotResult& pivot, int left, const QString& format, ColumnWidths& widths)
{
    for (const QStringList& line : pivotLines(pivot)) {
        for (qsizetype i = 0; i < line.size(); ++i) {
            bool number = false;
            const double value = line[i].toDouble(&number);
            const int characters =
                number ? shownLength(value, !format.isEmpty()) : static_cast<int>(line[i].size());
            widths.fit(left + static_cast<int>(i), characters);
        }
    }
}

} // namespace qv::analysis
