#include "viewer/core/window_geometry.h"

#include <gtest/gtest.h>

namespace qm71 {
namespace {

TEST(FitToScale, SmallerClientShowsTheTopLeftPartUnchanged) {
    const Fit f = FitToScale(0, {0, 0, 760, 480}, {10, 20, 776, 520});
    EXPECT_FALSE(f.changed);
    EXPECT_EQ(f.sourceWidth, 3040);
    EXPECT_EQ(f.sourceHeight, 1920);
}

TEST(FitToScale, OversizedClientShrinksTowardTheTopLeftCorner) {
    const Fit f = FitToScale(0, {0, 0, 900, 600}, {10, 20, 916, 640});
    EXPECT_TRUE(f.changed);
    EXPECT_EQ(f.client, (Rect{0, 0, 768, 514}));
    EXPECT_EQ(f.window, (Rect{10, 20, 784, 554}));
    EXPECT_EQ(f.sourceWidth, 3072);
    EXPECT_EQ(f.sourceHeight, 2056);
}

TEST(FitToScale, DoubleScaleMakesTheClientEven) {
    const Fit f = FitToScale(3, {0, 0, 1001, 701}, {0, 0, 1001, 701});
    EXPECT_TRUE(f.changed);
    EXPECT_EQ(f.window, (Rect{0, 0, 1000, 700}));
    EXPECT_EQ(f.sourceWidth, 500);
    EXPECT_EQ(f.sourceHeight, 350);
    // Already even: nothing to do, and a second fit is always a no-op.
    EXPECT_FALSE(FitToScale(3, f.client, f.window).changed);
}

TEST(FitToScale, SourceSizePerScale) {
    for (int scale = 0; scale < kScaleCount; ++scale) {
        const Fit f = FitToScale(scale, {0, 0, 400, 300}, {0, 0, 400, 300});
        const int factor4 = 16 >> scale;  // source = client * factor4 / 4
        EXPECT_EQ(f.sourceWidth, 400 * factor4 / 4) << scale;
        EXPECT_EQ(f.sourceHeight, 300 * factor4 / 4) << scale;
    }
}

TEST(ResizeForScale, NominalSizeKeptInsideTheRightAndBottomEdges) {
    EXPECT_EQ(ResizeForScale(0, {900, 100, 1000, 200}, 1024, 768), (Rect{256, 100, 1024, 614}));
    EXPECT_EQ(ResizeForScale(0, {-100, 0, 0, 0}, 1024, 768), (Rect{-100, 0, 668, 514}));
    EXPECT_EQ(ResizeForScale(0, {0, 500, 0, 0}, 1024, 768), (Rect{0, 254, 768, 768}));
}

TEST(ResizeForScale, TooLargeForTheScreenCoversItFromZero) {
    EXPECT_EQ(ResizeForScale(2, {50, 60, 70, 80}, 1024, 768), (Rect{0, 0, 1024, 768}));
    EXPECT_EQ(ResizeForScale(1, {50, 60, 70, 80}, 1280, 1024), (Rect{0, 0, 1280, 1024}));
}

}  // namespace
}  // namespace qm71
