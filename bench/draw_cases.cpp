#include "bench/draw_cases.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QList>
#include <QPainter>
#include <string>

#include "bench/baseline.h"
#include "bench/ratios.h"
#include "common/colour_table.h"

namespace qm71::bench {

namespace {

std::size_t BytesWritten(const DrawCase& c) {
    return std::size_t(c.width) * std::size_t(c.height) * sizeof(std::uint32_t);
}

void BM_DrawDib(benchmark::State& state, const Picture& (*picture)(), DrawCase c) {
    const Picture& p = picture();
    const dib::DibView view{p.width, p.height, p.colours.data(), p.pixels.data()};
    std::vector<std::uint32_t> surface(std::size_t(c.width) * std::size_t(c.height));
    const dib::Surface target{surface.data(), c.width, c.height, c.width};
    for (auto _ : state) {
        dib::DrawDib(view, c.source, target);
        benchmark::DoNotOptimize(surface.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(BytesWritten(c)));
}

// The obvious Qt way: wrap the picture in an indexed QImage and let QPainter
// stretch it into the window-sized RGB32 image.
void BM_QPainterIndexed8(benchmark::State& state, const Picture& (*picture)(), DrawCase c) {
    const Picture& p = picture();
    QImage image(p.topDown.data(), p.width, p.height,
                 qsizetype(dib::RowBytes(std::size_t(p.width))), QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (const RgbQuad& q : p.colours) colours.append(qRgb(q.red, q.green, q.blue));
    image.setColorTable(colours);
    QImage target(c.width, c.height, QImage::Format_RGB32);
    // Touched once before timing, like the targets of the other benchmarks,
    // so that no repetition pays for first-touch page faults.
    target.fill(Qt::black);
    const QRect targetRect(0, 0, c.width, c.height);
    const QRect sourceRect(c.source.x, c.source.y, c.source.width, c.source.height);
    for (auto _ : state) {
        QPainter painter(&target);
        painter.drawImage(targetRect, image, sourceRect);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(BytesWritten(c)));
}

}  // namespace

Picture MakePicture(int width, int height) {
    Picture p;
    p.width = width;
    p.height = height;
    const std::size_t stride = dib::RowBytes(std::size_t(width));
    p.pixels.resize(stride * std::size_t(height));
    p.topDown.resize(p.pixels.size());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t value = std::uint8_t((x + y * 3 + (x * y >> 7)) & 0xFF);
            p.topDown[std::size_t(y) * stride + std::size_t(x)] = value;
            p.pixels[std::size_t(height - 1 - y) * stride + std::size_t(x)] = value;
        }
    }
    p.colours.resize(256);
    FillColorTable(ColouringSettings{}, std::span<RgbQuad, 256>(p.colours));
    return p;
}

bool RegisterDrawBenchmarks(const DrawBenchmarks& set) {
    // Registered by hand: the case names contain dots and colons, which the
    // macros' names cannot carry.
    for (const DrawCase& c : set.cases) {
        benchmark::RegisterBenchmark(("BM_" + set.prefix + "DrawDib/" + c.name).c_str(), BM_DrawDib,
                                     set.picture, c)
            ->Apply(StandardSettings);
    }
    for (const DrawCase& c : set.cases) {
        benchmark::RegisterBenchmark(("BM_" + set.prefix + "QPainterIndexed8/" + c.name).c_str(),
                                     BM_QPainterIndexed8, set.picture, c)
            ->Apply(StandardSettings);
    }
    for (const DrawCase& c : set.cases) {
        const std::size_t bytes = BytesWritten(c);
        AddRatio({.label = set.prefix + "DrawDib " + c.name + " / copy of the " +
                           std::to_string(bytes) + " bytes it writes",
                  .numerator = "BM_" + set.prefix + "DrawDib/" + c.name,
                  .denominator = CopyBaseline(bytes),
                  .atMost = set.baselineBudget});
    }
    // A reduction reads more of the picture than it writes, and the picture
    // does not stay in the cache: beside its bytes copied from a ring as large
    // as the part of the picture it reads it shows how far memory bounds it.
    for (const DrawCase& c : set.cases) {
        const std::size_t bytes = BytesWritten(c);
        const std::size_t read = std::size_t(c.source.width) * std::size_t(c.source.height);
        if (c.source.width <= c.width || read < 2 * bytes) continue;
        const std::size_t ring = read / bytes;
        AddRatio({.label = set.prefix + "DrawDib " + c.name + " / copy of its bytes from " +
                           std::to_string(ring) + " sources",
                  .numerator = "BM_" + set.prefix + "DrawDib/" + c.name,
                  .denominator = CopyFromRingBaseline(bytes, ring)});
    }
    for (const DrawCase& c : set.cases) {
        AddRatio({.label = set.prefix + "QPainter / DrawDib at " + c.name,
                  .numerator = "BM_" + set.prefix + "QPainterIndexed8/" + c.name,
                  .denominator = "BM_" + set.prefix + "DrawDib/" + c.name,
                  .atLeast = set.qpainterFactor});
    }
    return true;
}

}  // namespace qm71::bench
