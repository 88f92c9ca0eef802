// The acquisition library's entries on the unthrottled simulated card service
// against a memcpy of the frame's bytes, and averaging 256 frames against 256
// plain grabs of the same frame.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

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
}

void BM_MemcpyPortFrame(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(0));
    std::vector<std::byte> from(bytes, std::byte{1}), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyPortFrame)
    ->Arg(512 * 256)
    ->Arg(512 * 256 * 2)
    ->Arg(1024 * 512)
    ->Apply(bench::StandardSettings);

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
        const char* baseline;
    } plain[] = {
        {"QM71DIB512X256X8 / memcpy", "BM_DIB512X256X8", "BM_MemcpyPortFrame/131072"},
        {"QM71IMG512X256X8 / memcpy", "BM_IMG512X256X8", "BM_MemcpyPortFrame/131072"},
        {"QM71IMG512X256X16 / memcpy", "BM_IMG512X256X16", "BM_MemcpyPortFrame/262144"},
        {"QM71DIB1024X512X8 / memcpy", "BM_DIB1024X512X8", "BM_MemcpyPortFrame/524288"},
        {"QM71IMG1024X512X8 / memcpy", "BM_IMG1024X512X8", "BM_MemcpyPortFrame/524288"},
        {"QN71IMG512X256X8 k=8 / 256 plain grabs", "BM_QN71IMG512X256X8k8",
         "BM_IMG512X256X8Times256"},
    };
    for (const auto& r : plain) {
        bench::AddRatio(
            {.label = r.label, .numerator = r.entry, .denominator = r.baseline, .atMost = 2});
    }
    return true;
}();

}  // namespace
}  // namespace qm71
