// Drawing the viewer's 3072 x 2056 frame at its four scales, against copying
// the bytes each drawing writes and against letting QPainter stretch an
// indexed QImage.

#include "bench/draw_cases.h"

namespace {

using qm71::bench::DrawBenchmarks;
using qm71::bench::Picture;

const Picture& TheFrame() {
    static const Picture frame = qm71::bench::MakePicture(3072, 2056);
    return frame;
}

// The four scales of the viewer, with the client areas measured here.
const bool kDrawBenchmarks = qm71::bench::RegisterDrawBenchmarks(DrawBenchmarks{
    .prefix = "",
    .picture = TheFrame,
    .cases = {{"x0.25", {0, 0, 3072, 2056}, 768, 514},
              {"x0.5", {0, 0, 3072, 2056}, 1536, 1028},
              {"x1", {0, 0, 1920, 1028}, 1920, 1028},
              {"x2", {0, 0, 960, 514}, 1920, 1028}},
});

}  // namespace
