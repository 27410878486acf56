#include "common/chart_palette.h"

#include <array>

namespace qv {

namespace {

// Dark enough to read as thin lines on white, and no two close to each other
// (the light pinks, limes and lavenders of larger sets are left out, and so
// are teal and olive, too near green and brown).
constexpr std::array<quint32, chartPaletteColours> colours = {
    0x4363d8, // blue
    0xe6194b, // red
    0x3cb44b, // green
    0xf58231, // orange
    0x911eb4, // purple
    0x42d4f4, // cyan
    0xf032e6, // magenta
    0x9a6324, // brown
    0x000000, // black
    0x000075, // navy
    0x808080, // grey
    0x800000, // maroon
};

constexpr std::array<Qt::PenStyle, 5> styles = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                                Qt::DashDotDotLine};

} // namespace

ChartStroke chartStroke(int index)
{
    const int n = index < 0 ? 0 : index;
    return {colours[static_cast<size_t>(n % chartPaletteColours)],
            styles[static_cast<size_t>((n / chartPaletteColours) % static_cast<int>(styles.size()))]};
}

} // namespace qv
