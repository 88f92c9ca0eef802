// Drawing the viewer's 3072 x 2056 frame at its four scales, against a plain
// copy of the frame and against letting QPainter stretch an indexed QImage.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QList>
#include <QPainter>
#include <cstring>
#include <string>
#include <vector>

#include "bench/ratios.h"
#include "common/colour_table.h"
#include "platform/dib/dib.h"

namespace {

using qm71::dib::SourceRect;

constexpr int kFrameWidth = 3072;
constexpr int kFrameHeight = 2056;
constexpr std::size_t kFrameBytes = std::size_t(kFrameWidth) * kFrameHeight;

struct Frame {
    // Stored bottom-up, as the viewer keeps its frames.
    std::vector<std::uint8_t> pixels;
    // The same picture stored top-down, the only order a QImage knows, so that
    // QPainter is given the same picture rather than the frame upside down.
    std::vector<std::uint8_t> topDown;
    std::vector<qm71::RgbQuad> colours;
};

// A frame with a busy pattern, coloured the way the viewer starts.
const Frame& TheFrame() {
    static const Frame frame = [] {
        Frame f;
        f.pixels.resize(kFrameBytes);
        f.topDown.resize(kFrameBytes);
        for (int y = 0; y < kFrameHeight; ++y) {
            for (int x = 0; x < kFrameWidth; ++x) {
                const std::uint8_t value = std::uint8_t((x + y * 3 + (x * y >> 7)) & 0xFF);
                f.topDown[std::size_t(y) * kFrameWidth + std::size_t(x)] = value;
                f.pixels[std::size_t(kFrameHeight - 1 - y) * kFrameWidth + std::size_t(x)] = value;
            }
        }
        f.colours.resize(256);
        qm71::FillColorTable(qm71::ColouringSettings{}, std::span<qm71::RgbQuad, 256>(f.colours));
        return f;
    }();
    return frame;
}

struct Scale {
    SourceRect source;
    int width;  // of the client area
    int height;
};
// The four scales of the viewer, with the client areas measured here.
struct NamedScale {
    const char* name;
    Scale scale;
};
const NamedScale kScales[] = {
    {"x0.25", {{0, 0, 3072, 2056}, 768, 514}},
    {"x0.5", {{0, 0, 3072, 2056}, 1536, 1028}},
    {"x1", {{0, 0, 1920, 1028}, 1920, 1028}},
    {"x2", {{0, 0, 960, 514}, 1920, 1028}},
};

void BM_MemcpyFrame(benchmark::State& state) {
    const Frame& frame = TheFrame();
    std::vector<std::uint8_t> target(kFrameBytes);
    for (auto _ : state) {
        std::memcpy(target.data(), frame.pixels.data(), kFrameBytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kFrameBytes));
}

void BM_DrawDib(benchmark::State& state, Scale scale) {
    const Frame& frame = TheFrame();
    const qm71::dib::DibView dib{kFrameWidth, kFrameHeight, frame.colours.data(),
                                 frame.pixels.data()};
    std::vector<std::uint32_t> surface(std::size_t(scale.width) * std::size_t(scale.height));
    const qm71::dib::Surface target{surface.data(), scale.width, scale.height, scale.width};
    for (auto _ : state) {
        qm71::dib::DrawDib(dib, scale.source, target);
        benchmark::DoNotOptimize(surface.data());
        benchmark::ClobberMemory();
    }
}

// The obvious Qt way: wrap the frame in an indexed QImage and let QPainter
// stretch it into the window-sized RGB32 image.
void BM_QPainterIndexed8(benchmark::State& state, Scale scale) {
    const Frame& frame = TheFrame();
    QImage image(frame.topDown.data(), kFrameWidth, kFrameHeight, kFrameWidth,
                 QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (const qm71::RgbQuad& q : frame.colours) colours.append(qRgb(q.red, q.green, q.blue));
    image.setColorTable(colours);
    QImage target(scale.width, scale.height, QImage::Format_RGB32);
    // Touched once before timing, like the targets of the other benchmarks,
    // so that no repetition pays for first-touch page faults.
    target.fill(Qt::black);
    const QRect targetRect(0, 0, scale.width, scale.height);
    const QRect sourceRect(scale.source.x, scale.source.y, scale.source.width, scale.source.height);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.drawImage(targetRect, image, sourceRect);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
        benchmark::ClobberMemory();
    }
}

using qm71::bench::StandardSettings;

BENCHMARK(BM_MemcpyFrame)->Apply(StandardSettings);

// Registered by hand: the scale names contain a dot, which the macros' names
// cannot carry.
bool AddDrawBenchmarks() {
    using qm71::bench::AddRatio;
    for (const NamedScale& s : kScales) {
        benchmark::RegisterBenchmark((std::string("BM_DrawDib/") + s.name).c_str(), BM_DrawDib,
                                     s.scale)
            ->Apply(StandardSettings);
    }
    for (const NamedScale& s : kScales) {
        benchmark::RegisterBenchmark((std::string("BM_QPainterIndexed8/") + s.name).c_str(),
                                     BM_QPainterIndexed8, s.scale)
            ->Apply(StandardSettings);
    }
    // Budgets: a quarter-size drawing costs no more than copying the frame
    // once, a 1:1 window no more than three copies.
    const double memcpyBudget[] = {1, 0, 3, 0};
    for (int i = 0; i < 4; ++i) {
        const std::string scale = kScales[i].name;
        AddRatio({.label = "DrawDib " + scale + " / memcpy",
                  .numerator = "BM_DrawDib/" + scale,
                  .denominator = "BM_MemcpyFrame",
                  .atMost = memcpyBudget[i]});
    }
    for (const NamedScale& s : kScales) {
        const std::string scale = s.name;
        AddRatio({.label = "QPainter / DrawDib at " + scale,
                  .numerator = "BM_QPainterIndexed8/" + scale,
                  .denominator = "BM_DrawDib/" + scale,
                  .atLeast = 5});
    }
    return true;
}
const bool kDrawBenchmarks = AddDrawBenchmarks();

}  // namespace
