// Runs every registered benchmark, then prints the registered ratios between
// their times, so that each measurement stands beside its baseline from the
// same run on the same machine. Register benchmarks with Apply(...) settings
// that include MeasureProcessCPUTime(), as dib_bench.cpp does, so that the CPU
// times compared are all of the same kind.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bench/baseline.h"
#include "bench/ratios.h"

namespace qm71::bench {

namespace {

std::vector<Ratio>& Ratios() {
    static std::vector<Ratio> ratios;
    return ratios;
}

// Seconds per iteration: CPU time of the whole process (helper threads
// included) and wall-clock time.
struct Times {
    double cpu = 0;
    double wall = 0;
};

// Reports to the console as usual and keeps the time of every benchmark: the
// fastest repetition, or the only run.
class CollectingReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            // With repetitions the fastest one counts; a single run counts as is.
            const bool fastest = run.run_type == Run::RT_Aggregate && run.aggregate_name == "min";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (!fastest && !single) continue;
            const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
            times_[ShortName(run)] = {run.GetAdjustedCPUTime() / unit,
                                      run.GetAdjustedRealTime() / unit};
        }
        ConsoleReporter::ReportRuns(runs);
    }

    const Times* Find(const std::string& name) const {
        const auto it = times_.find(name);
        return it == times_.end() ? nullptr : &it->second;
    }

  private:
    // The name without the run settings (min_time, real_time, ...), so that a
    // ratio names a benchmark the way it was registered.
    static std::string ShortName(const Run& run) {
        const std::string& args = run.run_name.args;
        return args.empty() ? run.run_name.function_name : run.run_name.function_name + "/" + args;
    }

    std::map<std::string, Times> times_;
};

void PrintRatios(const CollectingReporter& reporter) {
    std::printf("\n");
    for (const Ratio& ratio : Ratios()) {
        const Times* num = reporter.Find(ratio.numerator);
        const Times* den = reporter.Find(ratio.denominator);
        if (num == nullptr || den == nullptr || den->cpu <= 0 || den->wall <= 0) {
            std::printf("%s: not measured\n", ratio.label.c_str());
            continue;
        }
        // CPU time is the measure: on a busy machine the wall clock also counts
        // the time other programs had the processor.
        const double value = num->cpu / den->cpu;
        const double wall = num->wall / den->wall;
        std::printf(value < 10 ? "%s = %.2f" : "%s = %.1f", ratio.label.c_str(), value);
        std::printf(wall < 10 ? "   (wall clock %.2f)" : "   (wall clock %.1f)", wall);
        if (ratio.atMost > 0) {
            std::printf("   (target <= %g%s)", ratio.atMost,
                        value <= ratio.atMost ? "" : ", MISSED");
        }
        if (ratio.atLeast > 0) {
            std::printf("   (target >= %g%s)", ratio.atLeast,
                        value >= ratio.atLeast ? "" : ", MISSED");
        }
        std::printf("\n");
    }
}

}  // namespace

void StandardSettings(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMicrosecond)
        ->MinTime(0.1)
        ->UseRealTime()
        ->MeasureProcessCPUTime()
        ->Repetitions(3)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("min", [](const std::vector<double>& v) {
            return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
        });
}

bool AddRatio(Ratio ratio) {
    Ratios().push_back(std::move(ratio));
    return true;
}

}  // namespace qm71::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    qm71::bench::CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    qm71::bench::PrintRatios(reporter);
    qm71::bench::PrintBaselineCheck([&reporter](const std::string& name) {
        const qm71::bench::Times* times = reporter.Find(name);
        return times == nullptr ? 0.0 : times->cpu;
    });
    return 0;
}
