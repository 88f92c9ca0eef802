#include "linedemo/core/line_geometry.h"

#include <gtest/gtest.h>

namespace qm71 {
namespace {

// With a frame of 8 x 30 pixels around the client area. `resize`: the window
// is first sized for the whole image (ResizeForScale), else fitted as it is.
TEST(LineGeometry, WindowsSettleOnTheScreenAndOnWholeImagePixelsInOneStep) {
    const struct {
        int scale, screenW, screenH;
        bool resize;
        Rect start, settled;
        int sourceW, sourceH;
    } cases[] = {
        // 1:8: the whole image is 625 x 80; 8 image pixels per screen pixel.
        {0, 1024, 768, true, {0, 0, 10, 10}, {0, 0, 625, 80}, 617 * 8, 50 * 8},
        // 1250 x 160 is wider than the screen: the width is the screen's.
        {1, 1024, 768, true, {100, 50, 110, 60}, {0, 50, 1024, 210}, 4064, 520},
        {2, 1280, 1024, true, {0, 0, 1, 1}, {0, 0, 1280, 318}, 2544, 576},
        // 1:1 on 1024 x 768: 1024 x 640 at x = 0, then the client area down to
        // multiples of 8 (1016 x 610 -> 1016 x 608).
        {3, 1024, 768, true, {300, 10, 301, 11}, {0, 10, 1024, 648}, 1016, 608},
        {4, 1024, 768, true, {0, 0, 1, 1}, {0, 0, 1016, 766}, 504, 368},
        {5, 1920, 1080, true, {0, 0, 1, 1}, {0, 0, 1896, 1054}, 472, 256},
        // Off the left edge (no settings file), off the top, off the right.
        {0, 1024, 768, false, {-2188, 64, -1563, 144}, {0, 64, 625, 144}, 4936, 400},
        {0, 1024, 768, false, {100, -20, 725, 60}, {100, 0, 725, 80}, 4936, 400},
        {0, 1024, 768, false, {900, 0, 1525, 80}, {399, 0, 1024, 80}, 4936, 400},
        // Larger than the screen: cut to it, not moved from one edge to the
        // other; 2 rows more than the image at 1:1 stay and the image is
        // stretched over them.
        {3, 1024, 768, false, {-100, -100, 3000, 900}, {0, 0, 1024, 672}, 1016, 640},
        // A client area taller than the whole image is cut down to it.
        {0, 1024, 768, false, {0, 0, 625, 300}, {0, 0, 625, 110}, 4936, 640},
        // 2:1: 10018 comes down by whole image pixels to 10002, still more
        // than the image; 10017 lands on exactly 5000 and goes on to 10000.
        {4, 20000, 2000, false, {0, 0, 10026, 1310}, {0, 0, 10010, 1310}, 5000, 640},
        {4, 20000, 2000, false, {0, 0, 10025, 1310}, {0, 0, 10008, 1310}, 5000, 640},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.scale << " from " << c.start.left << ","
                                          << c.start.top << "," << c.start.right);
        const Rect w =
            c.resize ? LineResizeForScale(c.scale, c.start, c.screenW, c.screenH) : c.start;
        const Rect client{0, 0, w.Width() - 8, w.Height() - 30};
        const LineFit f = LineFitToScale(c.scale, w, client, c.screenW, c.screenH);
        EXPECT_EQ(f.window, c.settled);
        EXPECT_EQ(f.client, (Rect{0, 0, c.settled.Width() - 8, c.settled.Height() - 30}));
        EXPECT_EQ(std::pair(f.sourceWidth, f.sourceHeight), std::pair(c.sourceW, c.sourceH));
        // Final: fitting the result again changes nothing.
        EXPECT_EQ(LineFitToScale(c.scale, f.window, f.client, c.screenW, c.screenH).window,
                  f.window);
    }
}

}  // namespace
}  // namespace qm71
