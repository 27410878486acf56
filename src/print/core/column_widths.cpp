#include "print/core/column_widths.h"

#include "print/core/page_painter.h"

#include <algorithm>
#include <cmath>

namespace qv::print {

TextWidthBound::TextWidthBound(const QFontMetricsF& metrics) : widest_(metrics.maxWidth())
{
    for (size_t c = 0; c < ascii_.size(); ++c)
        ascii_[c] = metrics.horizontalAdvance(QChar(char16_t(c)));
}

double TextWidthBound::of(QStringView text) const
{
    double width = 0;
    for (const QChar c : text)
        width += c.unicode() < ascii_.size() ? ascii_[c.unicode()] : widest_;
    return width;
}

double TextWidthBound::ofUtf8(std::string_view text) const
{
    double width = 0;
    for (const char byte : text) {
        const auto u = static_cast<unsigned char>(byte);
        if (u < 0x80)
            width += ascii_[u];
        else if (u >= 0xC0) // the first byte of a character outside ASCII
            width += widest_;
    }
    return width;
}

double TextWidthBound::ofWhole(long long number) const
{
    double width = number < 0 ? ascii_[size_t('-')] : 0;
    unsigned long long rest =
        number < 0 ? 0ULL - static_cast<unsigned long long>(number) : static_cast<unsigned long long>(number);
    do {
        width += ascii_[size_t('0' + rest % 10)];
        rest /= 10;
    } while (rest != 0);
    return width;
}

std::vector<double> fittedColumnWidths(const PrintSource& source, int rows, int columns, const QFont& font)
{
    // Measured as the pages are painted: without the screen's hinting.
    QFont unhinted = font;
    unhinted.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF metrics(unhinted);
    const TextWidthBound bound(metrics);
    std::vector<double> widths;
    std::vector<std::pair<double, int>> candidates;
    for (int column = 1; column <= columns; ++column) {
        double widest = metrics.horizontalAdvance(source.columnHeader(column));
        candidates.clear();
        for (int row = 1; row <= rows; ++row) {
            const double most = source.textWidthBound(row, column, bound);
            if (most > widest)
                candidates.emplace_back(most, row);
        }
        // The widest bounds first, until no text left could be wider.
        std::make_heap(candidates.begin(), candidates.end());
        while (!candidates.empty() && candidates.front().first > widest) {
            std::pop_heap(candidates.begin(), candidates.end());
            widest = std::max(widest,
                              metrics.horizontalAdvance(source.cellText(candidates.back().second, column)));
            candidates.pop_back();
        }
        // Room to spare for the printer's own rounding of glyph positions.
        widths.push_back(std::ceil(widest * 1.02) + 2 * CellPadding + 20);
    }
    return widths;
}

} // namespace qv::print
