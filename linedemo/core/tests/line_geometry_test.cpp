#include "linedemo/core/line_geometry.h"

#include <gtest/gtest.h>

namespace qm71 {
namespace {

// A frame of 8 x 30 pixels around the client area.
constexpr int kFrameW = 8, kFrameH = 30;

LineFit Fit(int scale, Rect window, int screenW, int screenH) {
    const Rect client{0, 0, window.Width() - kFrameW, window.Height() - kFrameH};
    return LineFitToScale(scale, window, client, screenW, screenH);
}

TEST(LineGeometry, EachZoomSettlesOnWholeImagePixelsInOneStep) {
    struct Case {
        int scale, screenW, screenH;
        Rect start;
        Rect resized;  // LineResizeForScale
        Rect window;   // after the fit
        int sourceW, sourceH;
    };
    const Case cases[] = {
        // 1:8: the whole image is 625 x 80; the client area shows 8 image
        // pixels per screen pixel.
        {0, 1024, 768, {0, 0, 10, 10}, {0, 0, 625, 80}, {0, 0, 625, 80}, 617 * 8, 50 * 8},
        // 1250 x 160 is wider than the screen: the width is the screen's.
        {1, 1024, 768, {100, 50, 110, 60}, {0, 50, 1024, 210}, {0, 50, 1024, 210}, 4064, 520},
        {2, 1280, 1024, {0, 0, 1, 1}, {0, 0, 1280, 320}, {0, 0, 1280, 318}, 2544, 576},
        // 1:1 on 1024 x 768: 1024 x 640 at x = 0, then the client area down to
        // multiples of 8 (1016 x 610 -> 1016 x 608).
        {3, 1024, 768, {300, 10, 301, 11}, {0, 10, 1024, 650}, {0, 10, 1024, 648}, 1016, 608},
        {4, 1024, 768, {0, 0, 1, 1}, {0, 0, 1024, 768}, {0, 0, 1016, 766}, 504, 368},
        {5, 1920, 1080, {0, 0, 1, 1}, {0, 0, 1920, 1080}, {0, 0, 1896, 1054}, 472, 256},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scale);
        const Rect resized = LineResizeForScale(c.scale, c.start, c.screenW, c.screenH);
        EXPECT_EQ(resized, c.resized);
        const LineFit f = Fit(c.scale, resized, c.screenW, c.screenH);
        EXPECT_EQ(f.window, c.window);
        EXPECT_EQ(f.sourceWidth, c.sourceW);
        EXPECT_EQ(f.sourceHeight, c.sourceH);
        EXPECT_EQ(f.client.right, f.window.Width() - kFrameW);
        // Settled: fitting the result again changes nothing.
        const LineFit again = LineFitToScale(c.scale, f.window, f.client, c.screenW, c.screenH);
        EXPECT_EQ(again.window, f.window);
    }
}

TEST(LineGeometry, WindowsComeOntoTheScreenWithoutBouncing) {
    struct Case {
        int scale;
        Rect window;
        Rect expected;
        int sourceW, sourceH;
    };
    const Case cases[] = {
        // Started off the left edge (no settings file): moved to x = 0.
        {0, {-2188, 64, -1563, 144}, {0, 64, 625, 144}, 4936, 400},
        // Dragged off the top and off the right edge.
        {0, {100, -20, 725, 60}, {100, 0, 725, 80}, 4936, 400},
        {0, {900, 0, 1525, 80}, {399, 0, 1024, 80}, 4936, 400},
        // Wider and taller than the screen: cut to it, then fitted; before,
        // such a window went from one edge to the other for ever. The client
        // area is 2 pixels taller than the image at 1:1: the image is
        // stretched over them.
        {3, {-100, -100, 3000, 900}, {0, 0, 1024, 672}, 1016, 640},
        // A client area taller than the whole image at 1:8 is cut down to it.
        {0, {0, 0, 625, 300}, {0, 0, 625, 110}, 4936, 640},
    };
    for (const Case& c : cases) {
        const LineFit f = Fit(c.scale, c.window, 1024, 768);
        EXPECT_EQ(f.window, c.expected) << c.window.left << "," << c.window.top;
        EXPECT_EQ(f.sourceWidth, c.sourceW);
        EXPECT_EQ(f.sourceHeight, c.sourceH);
        EXPECT_EQ(LineFitToScale(c.scale, f.window, f.client, 1024, 768).window, f.window);
    }
}

TEST(LineGeometry, AnImageNarrowerThanTheClientByLessThanAPixelIsStretched) {
    // 2:1: the whole image is 10000 x 1280 screen pixels. A client area of
    // 10018 comes down by whole image pixels to 10002, which still shows
    // more than the image: the image is stretched over it. At 10017 the
    // last step lands on 10001, a source of exactly 5000, and the client is
    // then brought down to 10000.
    for (const auto& [client, settled] : {std::pair{10018, 10002}, std::pair{10017, 10000}}) {
        const LineFit f =
            LineFitToScale(4, {0, 0, client + 8, 1310}, {0, 0, client, 1280}, 20000, 2000);
        EXPECT_EQ(f.client, (Rect{0, 0, settled, 1280}));
        EXPECT_EQ(f.sourceWidth, 5000);
        EXPECT_EQ(f.sourceHeight, 640);
        EXPECT_EQ(LineFitToScale(4, f.window, f.client, 20000, 2000).client, f.client);
    }
}

}  // namespace
}  // namespace qm71
