#include <gtest/gtest.h>

#include "ui/ScreenFit.h"

namespace vn {
namespace {

// A 1440x900 screen at scale 1.5 offers 960x600; here with a panel of 30
// pixels along its top.
TEST(ScreenFit, AStoredWindowIsMovedAndShrunkOntoTheScreen) {
    const QRect area(0, 30, 960, 570);
    const struct {
        const char* name;
        QRect stored;
        QRect placed;
    } cases[] = {
        {"inside: unchanged", {40, 50, 864, 500}, {40, 50, 864, 500}},
        {"taller than the screen", {288, 118, 864, 641}, {96, 30, 864, 570}},
        {"larger both ways", {0, 0, 1296, 962}, {0, 30, 960, 570}},
        {"title bar above the screen", {10, -200, 400, 300}, {10, 30, 400, 300}},
        {"off the right and bottom", {900, 500, 400, 300}, {560, 300, 400, 300}},
        {"off the left", {-700, 100, 400, 300}, {0, 100, 400, 300}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QRect placed = FitIntoArea(c.stored, area);
        EXPECT_EQ(placed, c.placed);
        EXPECT_TRUE(area.contains(placed));
    }
}

}  // namespace
}  // namespace vn
