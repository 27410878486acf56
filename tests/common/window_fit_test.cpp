#include "common/window_fit.h"

#include <gtest/gtest.h>

using qv::fitInside;

// A 1600 by 1000 screen whose window frames add a 20 pixel title bar, a
// 5 pixel bottom edge and 1 pixel sides.
TEST(WindowFit, AWindowAndItsFrameEndUpInsideTheArea)
{
    const QRect screen(0, 0, 1600, 1000);
    const QMargins frame(1, 20, 1, 5);
    const struct {
        const char* what;
        QRect wanted;
        QRect placed;
    } cases[] = {
        {"inside already: unchanged", {100, 100, 760, 540}, {100, 100, 760, 540}},
        {"lower edge off: moved up by what is off", {300, 600, 760, 540}, {300, 455, 760, 540}},
        {"right edge off: moved left", {1000, 100, 760, 540}, {839, 100, 760, 540}},
        {"above and left of the screen: moved in", {-50, -10, 400, 300}, {1, 20, 400, 300}},
        {"taller than the screen: shrunk to it, at its top", {10, 300, 400, 1200}, {10, 20, 400, 975}},
        {"larger both ways: the whole screen", {0, 0, 2000, 2000}, {1, 20, 1598, 975}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fitInside(c.wanted, screen, frame), c.placed) << c.what;
}

TEST(WindowFit, AChildWindowFitsTheFramesAreaWhereverThatStarts)
{
    // A child window's area starts at its own origin, and has no frame of its own to add.
    const QRect area(0, 0, 433, 300);
    EXPECT_EQ(fitInside(QRect(26, 26, 760, 420), area), QRect(0, 0, 433, 300));
    EXPECT_EQ(fitInside(QRect(52, 52, 300, 200), area), QRect(52, 52, 300, 200));
    EXPECT_EQ(fitInside(QRect(200, 150, 300, 200), area), QRect(133, 100, 300, 200));
    EXPECT_EQ(fitInside(QRect(0, 0, 100, 100), QRect(50, 40, 500, 500)), QRect(50, 40, 100, 100));
}
