// The line demo's hot paths against their baselines: one image's acquisition
// on the unthrottled simulated line camera against one copy of the 5000 x 640
// image (its lines are written once, where the requests point), and a
// numbered capture into a tmpfs folder against a plain write of the same
// 3,201,078 bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/baseline.h"
#include "bench/ratios.h"
#include "bench/silent_operator.h"
#include "common/bmp_file.h"
#include "common/driver.h"
#include "linedemo/core/line_acquisition.h"
#include "linedemo/core/line_geometry.h"
#include "linedemo/core/line_image_window.h"
#include "linedemo/core/numbered_bitmap.h"
#include "sim/card/simulated_card.h"

namespace qm71 {
namespace {

constexpr std::size_t kImageBytes = std::size_t{kLineWidth} * kLineCount;

// One image as an acquisition cycle takes it: free-running (arg 0) or one
// software trigger per line (arg 1).
void BM_LineAcquisition(benchmark::State& state) {
    const bool trigger = state.range(0) != 0;
    sim::CardOptions options = sim::LineCameraOptions();
    options.fps = 0;
    sim::SimulatedCard card(SystemClock(), options);
    Driver driver(card);
    driver.Open();
    OpenLineGrabber(driver, trigger);
    // Into an image block as the program keeps it, placed as it places them.
    const auto block = LineImageWindow::AllocateImage();
    std::byte* image = block->Pixels();
    for (auto _ : state) {
        const bool complete = trigger ? TriggeredImage(driver, SystemClock(), image)
                                      : FreeRunImage(driver, SystemClock(), image);
        if (!complete) state.SkipWithError("no image");
        benchmark::DoNotOptimize(image[1000]);
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(kImageBytes));
}
BENCHMARK(BM_LineAcquisition)->Arg(0)->Arg(1)->Apply(bench::StandardSettings);

std::filesystem::path ShmFolder(const char* name) {
    const auto folder = std::filesystem::path("/dev/shm") / name;
    std::filesystem::create_directories(folder);
    return folder;
}

// The baseline: the same bytes written to a new file in the same folder, in
// one write, and the file removed again.
void BM_WriteBitmapBytes(benchmark::State& state) {
    const auto folder = ShmFolder("qm71-bench-copy");
    const auto image = LineImageWindow::AllocateImage();
    const auto header = BitmapFileHeader(static_cast<std::uint32_t>(image->BlockSize()), 1078);
    std::vector<std::byte> bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), image->Block().begin(), image->Block().end());
    const std::string target = (folder / "00000001.bmp").string();
    for (auto _ : state) {
        std::FILE* f = std::fopen(target.c_str(), "wb");
        if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
            state.SkipWithError("write failed");
        if (f != nullptr) std::fclose(f);
        std::filesystem::remove(target);
    }
    std::filesystem::remove_all(folder);
    state.SetBytesProcessed(state.iterations() * std::int64_t(bytes.size()));
}
BENCHMARK(BM_WriteBitmapBytes)->Apply(bench::StandardSettings);

// Ctrl+W: the next free name in the folder, claimed exclusively, written
// complete, and the file removed again so that the next save has the same work.
void BM_SaveNumberedBitmap(benchmark::State& state) {
    const auto folder = ShmFolder("qm71-bench-save");
    const auto image = LineImageWindow::AllocateImage();
    bench::SilentOperator op;
    for (auto _ : state) {
        int number = 0;
        const auto saved = SaveNumberedBitmap(folder, number, image->Block(), op);
        if (saved.empty()) state.SkipWithError("save failed");
        std::filesystem::remove(saved);
    }
    std::filesystem::remove_all(folder);
    state.SetBytesProcessed(state.iterations() * std::int64_t(image->BlockSize() + 14));
}
BENCHMARK(BM_SaveNumberedBitmap)->Apply(bench::StandardSettings);

const bool kRatios = bench::AddRatio({.label = "line image free-running / one copy of the image",
                                      .numerator = "BM_LineAcquisition/0",
                                      .denominator = bench::CopyBaseline(kImageBytes),
                                      .atMost = 1.3}) &&
                     bench::AddRatio({.label = "line image triggered / one copy of the image",
                                      .numerator = "BM_LineAcquisition/1",
                                      .denominator = bench::CopyBaseline(kImageBytes),
                                      .atMost = 1.3}) &&
                     bench::AddRatio({.label = "SaveNumberedBitmap / plain write",
                                      .numerator = "BM_SaveNumberedBitmap",
                                      .denominator = "BM_WriteBitmapBytes",
                                      .atMost = 3});

}  // namespace
}  // namespace qm71
