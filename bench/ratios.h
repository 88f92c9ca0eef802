#pragma once

// Ratios between benchmarks of one run, printed after the run by the custom
// main in bench_main.cpp. A benchmark file registers its ratios at start-up:
//
//   static const bool kRatios = qm71::bench::AddRatio(
//       {.label = "GrabCycle / one copy of the frame", .numerator = "BM_GrabCycle",
//        .denominator = qm71::bench::CopyBaseline(bytes), .atMost = 1.2});

#include <benchmark/benchmark.h>

#include <string>

namespace qm71::bench {

// The settings every benchmark of qm71_bench is registered with
// (BENCHMARK(...)->Apply(qm71::bench::StandardSettings)): times in
// microseconds; a few repetitions, of which the fastest counts, because the
// build machine is shared; process CPU time, which counts helper threads too;
// and a short minimum time by the wall clock, so that the whole run stays short.
void StandardSettings(benchmark::internal::Benchmark* b);

struct Ratio {
    std::string label;      // printed as "<label> = <value>"
    std::string numerator;  // benchmark names as registered, e.g. "BM_DrawDib/x1"
    std::string denominator;
    double atMost = 0;  // targets, 0 = none; a miss is flagged in the output
    double atLeast = 0;
};

// Always returns true, so that it can initialise a static.
bool AddRatio(Ratio ratio);

}  // namespace qm71::bench
