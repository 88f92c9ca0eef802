#include "bench/baseline.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <set>

#include "bench/ratios.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qm71::bench {

namespace {

constexpr std::size_t kPage = 4096;

std::set<std::size_t>& Sizes() {
    static std::set<std::size_t> sizes;
    return sizes;
}

using CopyFunction = void (*)(std::byte*, const std::byte*, std::size_t);

void PlainCopy(std::byte* to, const std::byte* from, std::size_t n) {
    std::memcpy(to, from, n);
}

// Stores that go around the caches: for copies larger than the caches this
// saves reading every destination line before it is overwritten. Wants `to`
// 16-byte aligned, which the placements below are.
void StreamingCopy(std::byte* to, const std::byte* from, std::size_t n) {
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; i + 64 <= n; i += 64) {
        const auto* in = reinterpret_cast<const __m128i*>(from + i);
        auto* out = reinterpret_cast<__m128i*>(to + i);
        const __m128i a = _mm_loadu_si128(in);
        const __m128i b = _mm_loadu_si128(in + 1);
        const __m128i c = _mm_loadu_si128(in + 2);
        const __m128i d = _mm_loadu_si128(in + 3);
        _mm_stream_si128(out, a);
        _mm_stream_si128(out + 1, b);
        _mm_stream_si128(out + 2, c);
        _mm_stream_si128(out + 3, d);
    }
    _mm_sfence();
#endif
    std::memcpy(to + i, from + i, n - i);
}

struct Method {
    const char* name;
    CopyFunction copy;
};
constexpr Method kMethods[] = {{"memcpy", PlainCopy}, {"streaming", StreamingCopy}};

// Where the destination starts relative to a page boundary, the source always
// starting on one: half a page, or odd multiples of 64 bytes, so that a load
// and the store of the same offset never share their low 12 address bits.
constexpr std::size_t kOffsets[] = {2048, 64 * 17, 64 * 33, 64 * 49};

struct PageFree {
    void operator()(std::byte* p) const { std::free(p); }
};

double SecondsOf(CopyFunction copy, std::byte* to, const std::byte* from, std::size_t n) {
    const auto start = std::chrono::steady_clock::now();
    copy(to, from, n);
    benchmark::ClobberMemory();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_Copy(benchmark::State& state, std::size_t bytes, std::size_t sources) {
    const std::size_t span = (bytes + kPage - 1) / kPage * kPage;
    std::unique_ptr<std::byte, PageFree> memory(
        static_cast<std::byte*>(std::aligned_alloc(kPage, (sources + 1) * span + kPage)));
    if (!memory) {
        state.SkipWithError("no memory");
        return;
    }
    // The destination first, then the sources.
    std::byte* const from = memory.get() + span + kPage;
    for (std::size_t i = 0; i < sources * span; ++i) from[i] = std::byte(i * 131 >> 3);
    std::memset(memory.get(), 0, span + kPage);

    // Every method at every placement, each warmed up, the fastest kept.
    const Method* best = &kMethods[0];
    std::size_t bestOffset = kOffsets[0];
    double bestSeconds = std::numeric_limits<double>::max();
    for (const Method& method : kMethods) {
        for (const std::size_t offset : kOffsets) {
            std::byte* to = memory.get() + offset;
            auto source = [&](std::size_t i) { return from + i % sources * span; };
            for (std::size_t i = 0; i < 2 * sources; ++i) method.copy(to, source(i), bytes);
            for (std::size_t i = 0; i < 5; ++i) {
                const double seconds = SecondsOf(method.copy, to, source(i), bytes);
                if (seconds < bestSeconds) {
                    bestSeconds = seconds;
                    best = &method;
                    bestOffset = offset;
                }
            }
        }
    }
    std::byte* const to = memory.get() + bestOffset;
    std::size_t next = 0;
    for (auto _ : state) {
        best->copy(to, from + next * span, bytes);
        next = next + 1 < sources ? next + 1 : 0;
        benchmark::DoNotOptimize(to);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
    state.SetLabel(std::string(best->name) + ", destination at page offset " +
                   std::to_string(bestOffset));
}

std::string NameOf(std::size_t bytes) {
    return "BM_Copy/" + std::to_string(bytes);
}

std::set<std::string>& RingNames() {
    static std::set<std::string> names;
    return names;
}

}  // namespace

std::string CopyBaseline(std::size_t bytes) {
    std::string name = NameOf(bytes);
    if (Sizes().insert(bytes).second) {
        benchmark::RegisterBenchmark(name.c_str(), BM_Copy, bytes, 1)->Apply(StandardSettings);
    }
    return name;
}

std::string CopyFromRingBaseline(std::size_t bytes, std::size_t sources) {
    std::string name = NameOf(bytes) + "/from" + std::to_string(sources);
    if (RingNames().insert(name).second) {
        benchmark::RegisterBenchmark(name.c_str(), BM_Copy, bytes, sources)
            ->Apply(StandardSettings);
    }
    return name;
}

void PrintBaselineCheck(const std::function<double(const std::string&)>& cpuSeconds) {
    // Seconds per byte of every measured size, smallest size first.
    std::vector<std::pair<std::size_t, double>> perByte;
    for (const std::size_t bytes : Sizes()) {
        const double seconds = cpuSeconds(NameOf(bytes));
        if (seconds > 0) perByte.emplace_back(bytes, seconds / double(bytes));
    }
    // The worst case of a size that copies slower per byte than a larger one.
    double worst = 1;
    std::size_t slower = 0;
    std::size_t larger = 0;
    for (std::size_t i = 0; i < perByte.size(); ++i) {
        for (std::size_t j = i + 1; j < perByte.size(); ++j) {
            const double factor = perByte[i].second / perByte[j].second;
            if (factor > worst) {
                worst = factor;
                slower = perByte[i].first;
                larger = perByte[j].first;
            }
        }
    }
    // A few per cent is the noise of a shared machine.
    constexpr double kNoise = 1.05;
    if (worst <= kNoise) {
        std::printf("copy baselines agree: no size copies slower per byte than a larger one\n");
    } else {
        std::printf("copy baselines DISAGREE: %zu bytes copy %.2f times slower per byte than %zu\n",
                    slower, worst, larger);
    }
}

}  // namespace qm71::bench
