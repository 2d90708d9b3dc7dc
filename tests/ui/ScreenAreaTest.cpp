// The work area in Qt's scaled coordinates: only scaled pixels that lie
// wholly inside the device work area, whatever the display scale, so that a
// window filling it never sticks out of the screen.
#include "platform/ScreenArea.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using platform::DeviceSurelyCovered;
using platform::ScaledInside;
using platform::ScreenRect;
using platform::ScreenScale;

constexpr double Ratios[] = {1.25, 1.5, 1.75, 2, 2.25, 2.5, 3};

// Qt's own conversion of a device value to scaled coordinates.
int QtRounded(int device, double ratio) { return static_cast<int>(std::floor(device / ratio + 0.5)); }

TEST(ScaledInside, RoundsEveryEdgeInwards)
{
    // 1366 / 1.5 = 910.67: Qt says 911, of which only 910 lie on the screen.
    EXPECT_EQ(ScaledInside({0, 0, 1366, 768}, {0, 0, 1.5}), (ScreenRect{0, 0, 910, 512}));
    EXPECT_EQ(ScaledInside({0, 0, 1280, 1024}, {0, 0, 2.5}), (ScreenRect{0, 0, 512, 409}));
    // Sizes the scale divides stay whole, though floating point misses them by a hair.
    EXPECT_EQ(ScaledInside({0, 0, 1920, 1080}, {0, 0, 1.5}), (ScreenRect{0, 0, 1280, 720}));
    EXPECT_EQ(ScaledInside({0, 0, 1366, 768}, {0, 0, 1}), (ScreenRect{0, 0, 1366, 768}));
    // A panel 37 device pixels wide on the left: the first whole scaled pixel starts at 25 (37.5).
    EXPECT_EQ(ScaledInside({37, 0, 1329, 768}, {0, 0, 1.5}), (ScreenRect{25, 0, 885, 512}));
    // A second screen right of the first: its scaled coordinates start at its own corner.
    EXPECT_EQ(ScaledInside({1366, 0, 1366, 768}, {1366, 0, 1.5}), (ScreenRect{1366, 0, 910, 512}));
}

TEST(ScaledInside, TakesEveryWholeScaledPixelAndNoPartOne)
{
    for (const double ratio : Ratios)
        for (int start = 0; start < 12; ++start)
            for (int length = 1; length < 2200; length += 7) {
                SCOPED_TRACE(testing::Message() << start << "+" << length << " at " << ratio);
                const ScreenRect r = ScaledInside({start, 0, length, 1}, {0, 0, ratio});
                if (r.width == 0) {
                    EXPECT_LT(length, 2 * ratio) << "only a short span may hold no whole scaled pixel";
                    continue;
                }
                // Inside: the first scaled pixel starts at or after the device start,
                // the last ends at or before the device end.
                EXPECT_GE(r.left * ratio, start - 1e-6);
                EXPECT_LE((r.left + r.width) * ratio, start + length + 1e-6);
                // Every whole one: the scaled pixels beside them reach outside.
                EXPECT_LT((r.left - 1) * ratio, start);
                EXPECT_GT((r.left + r.width + 1) * ratio, start + length);
            }
}

TEST(DeviceSurelyCovered, LiesInsideEveryDeviceRectangleQtRoundsTheSame)
{
    for (const double ratio : Ratios)
        for (int start = 0; start < 12; ++start)
            for (int length = 1; length < 2200; length += 5) {
                SCOPED_TRACE(testing::Message() << start << "+" << length << " at " << ratio);
                const ScreenRect scaled{QtRounded(start, ratio), 0, QtRounded(length, ratio), 1};
                const ScreenRect covered = DeviceSurelyCovered(scaled, {0, 0, ratio});
                // Short of it by less than a scaled pixel at either end.
                EXPECT_GE(covered.width, length - 2 * ratio - 1e-6);
                if (covered.width == 0)
                    continue;
                EXPECT_GE(covered.left, start);
                EXPECT_LE(covered.left + covered.width, start + length);
            }
    // A screen Qt reports 911 wide at 1.5 is 1366 or 1367 device pixels: 1366 for sure.
    EXPECT_EQ(DeviceSurelyCovered({0, 0, 911, 512}, {0, 0, 1.5}), (ScreenRect{0, 0, 1366, 768}));
}

} // namespace
