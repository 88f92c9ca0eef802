// One frame through the viewer's frame loop on the unthrottled simulated card:
// arm, poll, 2056 row requests straight into the image block. The card makes
// each row where the request points, so the frame is written once: the
// baseline is one copy of its 6,316,032 bytes.
#include <benchmark/benchmark.h>

#include "bench/baseline.h"
#include "bench/ratios.h"
#include "bench/silent_operator.h"
#include "common/driver.h"
#include "sim/card/simulated_card.h"
#include "viewer/core/image_window.h"

namespace qm71 {
namespace {

void BM_GrabCycle(benchmark::State& state) {
    sim::CardOptions options = sim::AreaCameraOptions();
    options.fps = 0;
    sim::SimulatedCard card(SystemClock(), options);
    Driver driver(card);
    bench::SilentOperator op;
    ImageWindow window(DisplayImage::Allocate(), DisplaySettings{}, driver, op, SystemClock());
    window.OpenGrabber();
    for (auto _ : state) {
        if (window.GrabCycle() != ImageWindow::Grab::Drawn) state.SkipWithError("no frame");
        benchmark::DoNotOptimize(window.Image()->Pixels()[1000]);
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{DisplayImage::kPixelSize});
}
BENCHMARK(BM_GrabCycle)->Apply(bench::StandardSettings);

const bool kRatios = bench::AddRatio({.label = "GrabCycle / one copy of the frame",
                                      .numerator = "BM_GrabCycle",
                                      .denominator = bench::CopyBaseline(DisplayImage::kPixelSize),
                                      .atMost = 1.2});

}  // namespace
}  // namespace qm71
