#include "common/chart_palette.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace qv;

namespace {

double distance(quint32 a, quint32 b)
{
    double sum = 0;
    for (int shift : {16, 8, 0}) {
        const double d = static_cast<double>((a >> shift) & 0xff) - static_cast<double>((b >> shift) & 0xff);
        sum += d * d;
    }
    return std::sqrt(sum);
}

} // namespace

TEST(ChartPalette, TwelveColoursFarApartThenTheSameColoursDashed)
{
    for (int i = 0; i < chartPaletteColours; ++i) {
        EXPECT_EQ(chartStroke(i).style, Qt::SolidLine) << i;
        // Dark enough to read as a thin line on white.
        EXPECT_LT(distance(chartStroke(i).rgb, 0x000000), distance(0xdddddd, 0x000000)) << i;
        for (int j = 0; j < i; ++j)
            EXPECT_GT(distance(chartStroke(i).rgb, chartStroke(j).rgb), 90.0) << i << " and " << j;
    }
    EXPECT_EQ(chartStroke(12).rgb, chartStroke(0).rgb);
    EXPECT_NE(chartStroke(12).style, Qt::SolidLine);
    EXPECT_EQ(chartStroke(25).rgb, chartStroke(1).rgb);
    EXPECT_NE(chartStroke(25).style, chartStroke(13).style);
    // The first sixty lines all look different.
    std::set<std::pair<quint32, int>> seen;
    for (int i = 0; i < 60; ++i)
        seen.insert({chartStroke(i).rgb, static_cast<int>(chartStroke(i).style)});
    EXPECT_EQ(seen.size(), 60u);
    EXPECT_EQ(chartStroke(-3).rgb, chartStroke(0).rgb);
}
