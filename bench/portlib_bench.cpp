// The acquisition library's entries on the unthrottled simulated card service
// against one copy of the frame's bytes (a plain entry reads each pixel from
// the card once and writes it once), and averaging 256 frames (256 frames
// read, the sums written) against 256 plain grabs of the same frame.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "bench/baseline.h"
#include "bench/ratios.h"
#include "platform/clock.h"
#include "portlib/card_ports.h"
#include "sim/service/simulated_card_service.h"

namespace qm71 {
namespace {

using Entry = int (*)(const FrameDescriptor*);

// Grabs with `entry` into a buffer of `bytes` (the card already set up once, so
// that the picture is made before timing starts).
void RunEntry(benchmark::State& state, Entry entry, std::size_t bytes, std::uint32_t k) {
    sim::CardOptions options;
    options.fps = 0;
    sim::SimulatedCardService card(SystemClock(), options);
    CardPorts ports{&card, &card};
    InstallCardPorts(ports);
    std::vector<std::byte> buffer(bytes);
    const FrameDescriptor frame{buffer.data(), 0, 0, 0, 0, k};
    entry(&frame);
    for (auto _ : state) {
        entry(&frame);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    qm71_install_ports(nullptr);
    // Averaging reads 2^k frames of 8-bit pixels into sums of twice their size.
    const std::size_t read = k == 0 ? bytes : bytes / 2 << k;
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(read));
}

void BM_DIB512X256X8(benchmark::State& s) {
    RunEntry(s, QM71DIB512X256X8, 512 * 256, 0);
}
void BM_IMG512X256X8(benchmark::State& s) {
    RunEntry(s, QM71IMG512X256X8, 512 * 256, 0);
}
void BM_IMG512X256X16(benchmark::State& s) {
    RunEntry(s, QM71IMG512X256X16, 512 * 256 * 2, 0);
}
void BM_DIB1024X512X8(benchmark::State& s) {
    RunEntry(s, QM71DIB1024X512X8, 1024 * 512, 0);
}
void BM_IMG1024X512X8(benchmark::State& s) {
    RunEntry(s, QM71IMG1024X512X8, 1024 * 512, 0);
}
// 256 plain grabs of 512 x 256 as one iteration, against averaging 256 frames.
void BM_IMG512X256X8Times256(benchmark::State& state) {
    sim::CardOptions options;
    options.fps = 0;
    sim::SimulatedCardService card(SystemClock(), options);
    CardPorts ports{&card, &card};
    InstallCardPorts(ports);
    std::vector<std::byte> buffer(512 * 256);
    const FrameDescriptor frame{buffer.data(), 0, 0, 0, 0, 0};
    QM71IMG512X256X8(&frame);
    for (auto _ : state) {
        for (int i = 0; i < 256; ++i) QM71IMG512X256X8(&frame);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    qm71_install_ports(nullptr);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * 256 * std::int64_t(buffer.size()));
}
void BM_QN71IMG512X256X8k8(benchmark::State& s) {
    RunEntry(s, QN71IMG512X256X8, 512 * 256 * 2, 8);
}

BENCHMARK(BM_DIB512X256X8)->Apply(bench::StandardSettings);
BENCHMARK(BM_IMG512X256X8)->Apply(bench::StandardSettings);
BENCHMARK(BM_IMG512X256X16)->Apply(bench::StandardSettings);
BENCHMARK(BM_DIB1024X512X8)->Apply(bench::StandardSettings);
BENCHMARK(BM_IMG1024X512X8)->Apply(bench::StandardSettings);
BENCHMARK(BM_IMG512X256X8Times256)->Apply(bench::StandardSettings);
BENCHMARK(BM_QN71IMG512X256X8k8)->Apply(bench::StandardSettings);

const bool kRatios = [] {
    const struct {
        const char* label;
        const char* entry;
        std::size_t bytes;
    } plain[] = {
        {"QM71DIB512X256X8 / one copy of the frame", "BM_DIB512X256X8", 512 * 256},
        {"QM71IMG512X256X8 / one copy of the frame", "BM_IMG512X256X8", 512 * 256},
        {"QM71IMG512X256X16 / one copy of the frame", "BM_IMG512X256X16", 512 * 256 * 2},
        {"QM71DIB1024X512X8 / one copy of the frame", "BM_DIB1024X512X8", 1024 * 512},
        {"QM71IMG1024X512X8 / one copy of the frame", "BM_IMG1024X512X8", 1024 * 512},
    };
    for (const auto& r : plain) {
        bench::AddRatio({.label = r.label,
                         .numerator = r.entry,
                         .denominator = bench::CopyBaseline(r.bytes),
                         .atMost = 1.3});
    }
    // The simulated card serves 16 frames in turn, 2 to 8 MiB that the
    // second-level cache cannot keep, so every grab reads its frame from
    // further out. The same copy from a ring of 16 frames shows that limit.
    for (const auto& r : plain) {
        const std::string name(r.label, std::string_view(r.label).find(' '));
        bench::AddRatio({.label = name + " / one copy from a ring of 16 frames",
                         .numerator = r.entry,
                         .denominator = bench::CopyFromRingBaseline(r.bytes, 16)});
    }
    return bench::AddRatio({.label = "QN71IMG512X256X8 k=8 / 256 plain grabs",
                            .numerator = "BM_QN71IMG512X256X8k8",
                            .denominator = "BM_IMG512X256X8Times256",
                            .atMost = 1.5});
}();

}  // namespace
}  // namespace qm71
