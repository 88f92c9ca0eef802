// Drawing the line demo's 5000 x 640 image at its six zooms into a client
// area of at most 1920 x 1028 (the whole image where that is smaller), against
// copying the bytes each drawing writes and against letting QPainter stretch
// an indexed QImage with the same rectangles.

#include "bench/draw_cases.h"

namespace {

using qm71::bench::DrawBenchmarks;
using qm71::bench::Picture;

const Picture& TheLineImage() {
    static const Picture image = qm71::bench::MakePicture(5000, 640);
    return image;
}

// Client area and source rectangle as the window settles at each zoom: the
// client is the whole image at that zoom cut to 1920 x 1028, and shows
// (client * 8) >> SCALE image pixels.
const bool kDrawBenchmarks = qm71::bench::RegisterDrawBenchmarks(DrawBenchmarks{
    .prefix = "Line",
    .picture = TheLineImage,
    .cases = {{"1:8", {0, 0, 5000, 640}, 625, 80},
              {"1:4", {0, 0, 5000, 640}, 1250, 160},
              {"1:2", {0, 0, 3840, 640}, 1920, 320},
              {"1:1", {0, 0, 1920, 640}, 1920, 640},
              {"2:1", {0, 0, 960, 514}, 1920, 1028},
              {"4:1", {0, 0, 480, 257}, 1920, 1028}},
});

}  // namespace
