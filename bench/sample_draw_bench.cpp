// Drawing the sample program's 1024 x 512 frame 1:1, as 8-bit through the
// colour table and as 16-bit 5-5-5 pixels, against copying the 2 MiB of
// 32-bit pixels each drawing writes and against letting QPainter draw the same
// data as a QImage.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <string>
#include <vector>

#include "bench/baseline.h"
#include "bench/draw_cases.h"
#include "bench/ratios.h"

namespace {

using qm71::bench::DrawBenchmarks;
using qm71::bench::Picture;
using qm71::bench::StandardSettings;
namespace dib = qm71::dib;

constexpr int kWidth = 1024;
constexpr int kHeight = 512;
constexpr std::size_t kSurfaceBytes = std::size_t{kWidth} * kHeight * sizeof(std::uint32_t);

const Picture& TheFrame() {
    static const Picture frame = qm71::bench::MakePicture(kWidth, kHeight);
    return frame;
}

const bool kDrawBenchmarks = qm71::bench::RegisterDrawBenchmarks(DrawBenchmarks{
    .prefix = "Sample",
    .picture = TheFrame,
    .cases = {{"1:1", {0, 0, kWidth, kHeight}, kWidth, kHeight}},
});

// The 16-bit frame: a busy pattern over all channels, stored bottom-up for
// our renderer and top-down for the QImage. (Widening the 5-bit channels with
// SSE2 measured about three times as fast as a 64 K-entry colour table.)
struct WideFrame {
    std::vector<std::uint8_t> bottomUp;
    std::vector<std::uint8_t> topDown;
};

const WideFrame& TheWideFrame() {
    static const WideFrame frame = [] {
        WideFrame f;
        const std::size_t stride = dib::RowBytes(kWidth, 16);
        f.bottomUp.resize(stride * kHeight);
        f.topDown.resize(f.bottomUp.size());
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const auto v = std::uint16_t(x * 37 + y * 1021 + (x * y >> 5));
                for (int i = 0; i < 2; ++i) {
                    const auto byte = std::uint8_t(v >> (8 * i));
                    f.topDown[std::size_t(y) * stride + std::size_t(2 * x + i)] = byte;
                    f.bottomUp[std::size_t(kHeight - 1 - y) * stride + std::size_t(2 * x + i)] =
                        byte;
                }
            }
        }
        return f;
    }();
    return frame;
}

void BM_SampleDrawDib16(benchmark::State& state) {
    const WideFrame& f = TheWideFrame();
    const dib::DibView view{kWidth, kHeight, nullptr, f.bottomUp.data(), 16};
    std::vector<std::uint32_t> surface(std::size_t(kWidth) * kHeight);
    for (auto _ : state) {
        dib::DrawDib(view, {0, 0, kWidth, kHeight}, {surface.data(), kWidth, kHeight, kWidth});
        benchmark::DoNotOptimize(surface.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kSurfaceBytes));
}

void BM_SampleQPainterRGB555(benchmark::State& state) {
    const WideFrame& f = TheWideFrame();
    const QImage image(f.topDown.data(), kWidth, kHeight, qsizetype(dib::RowBytes(kWidth, 16)),
                       QImage::Format_RGB555);
    QImage target(kWidth, kHeight, QImage::Format_RGB32);
    target.fill(Qt::black);  // no first-touch page faults while timed
    for (auto _ : state) {
        QPainter painter(&target);
        painter.drawImage(QPoint(0, 0), image);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_SampleDrawDib16)->Apply(StandardSettings);
BENCHMARK(BM_SampleQPainterRGB555)->Apply(StandardSettings);

const bool kRatios =
    qm71::bench::AddRatio({.label = "SampleDrawDib 16-bit 1:1 / copy of the " +
                                    std::to_string(kSurfaceBytes) + " bytes it writes",
                           .numerator = "BM_SampleDrawDib16",
                           .denominator = qm71::bench::CopyBaseline(kSurfaceBytes),
                           .atMost = 1.5}) &&
    qm71::bench::AddRatio({.label = "QPainter RGB555 / SampleDrawDib 16-bit 1:1",
                           .numerator = "BM_SampleQPainterRGB555",
                           .denominator = "BM_SampleDrawDib16",
                           .atLeast = 5});

}  // namespace
