#include "viewer/core/window_geometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace qm71 {
namespace {

constexpr int kMin = INT_MIN, kMax = INT_MAX;

// The window shrinks toward its top-left corner; edges at the ends of int are
// held there instead of wrapping round.
TEST(FitToScale, ClampsTheClientAreaAndSetsTheSource) {
    const struct {
        int scale, clientW, clientH;
        Rect window, fitted;
        int sourceW, sourceH;
    } cases[] = {
        {0, 760, 480, {10, 20, 776, 520}, {10, 20, 776, 520}, 3040, 1920},
        {0, 900, 600, {10, 20, 916, 640}, {10, 20, 784, 554}, 3072, 2056},
        {1, 400, 300, {0, 0, 400, 300}, {0, 0, 400, 300}, 800, 600},
        {2, 400, 300, {0, 0, 400, 300}, {0, 0, 400, 300}, 400, 300},
        {3, 1001, 701, {0, 0, 1001, 701}, {0, 0, 1000, 700}, 500, 350},  // x2: even
        {0, 800, 600, {kMin, kMin, kMin + 9, kMin + 9}, {kMin, kMin, kMin, kMin}, 3072, 2056},
        {3, 11, 11, {kMin, kMin, kMin + 1, kMin + 1}, {kMin, kMin, kMin, kMin}, 5, 5},
    };
    for (const auto& c : cases) {
        const Fit f = FitToScale(c.scale, {0, 0, c.clientW, c.clientH}, c.window);
        EXPECT_EQ(std::tuple(f.window, f.changed, f.sourceWidth, f.sourceHeight),
                  std::tuple(c.fitted, c.window != c.fitted, c.sourceW, c.sourceH))
            << c.clientW;
        EXPECT_FALSE(FitToScale(c.scale, f.client, f.window).changed) << "a second fit is a no-op";
    }
}

TEST(ResizeForScale, KeptInsideTheRightAndBottomEdgesOrCoveringTheScreen) {
    const struct {
        int scale;
        Rect window, resized;
    } cases[] = {
        {0, {900, 100, 1000, 200}, {256, 100, 1024, 614}},
        {0, {-100, 0, 0, 0}, {-100, 0, 668, 514}},  // off the left edge: stays there
        {0, {0, 500, 0, 0}, {0, 254, 768, 768}},
        {2, {50, 60, 70, 80}, {0, 0, 1024, 768}},  // larger than the screen
        {0, {kMax, kMax, kMax, kMax}, {256, 254, 1024, 768}},
        {0, {kMin, kMin, 0, 0}, {kMin, kMin, kMin + 768, kMin + 514}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResizeForScale(c.scale, c.window, 1024, 768), c.resized) << c.window.left;
}

}  // namespace
}  // namespace qm71
