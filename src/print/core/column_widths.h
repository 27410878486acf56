#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QStringView>

#include <array>
#include <string_view>
#include <vector>

namespace qv::print {

class PrintSource;

// An upper bound of a text's width in a font, cheap enough for every cell of
// a large table: the sum of its characters' own widths (the widest glyph for
// anything outside ASCII). Kerning only narrows a text.
class TextWidthBound {
public:
    explicit TextWidthBound(const QFontMetricsF& metrics);
    double of(QStringView text) const;
    double ofUtf8(std::string_view text) const;
    // A whole number's text, its sign and digits, without making it.
    double ofWhole(long long number) const;

private:
    std::array<double, 128> ascii_{};
    double widest_ = 0;
};

// The width each of the source's columns needs for its name and every one of
// its values, rows 1..rows, in the font's units (twips for the print font),
// the cell's padding included: no printed cell is cut short. Only the texts
// whose bound could make a column wider are measured.
std::vector<double> fittedColumnWidths(const PrintSource& source, int rows, int columns, const QFont& font);

} // namespace qv::print
