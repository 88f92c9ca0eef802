#pragma once

// The baseline every hot path is measured against: the fastest way this
// machine copies the same number of bytes. Source and destination are placed
// so that no load waits on a store to an address with the same low 12 bits
// (4 KiB aliasing), the buffers are warmed up, and the copy is either memcpy
// or a streaming (non-temporal) copy, whichever this machine runs faster at
// this size. A path that moves its bytes once costs about one such copy; a
// ratio well above 1 is time spent on something other than memory traffic.

#include <cstddef>
#include <functional>
#include <string>

namespace qm71::bench {

// Registers the baseline for `bytes` (once, however often it is asked for)
// and returns its benchmark name, "BM_Copy/<bytes>".
std::string CopyBaseline(std::size_t bytes);

// The same copy, each time from the next of `sources` buffers in turn, for a
// path whose source does not stay in the cache because it cycles through
// that many (the simulated card service keeps 16 frames in turn): its
// benchmark name is "BM_Copy/<bytes>/from<sources>".
std::string CopyFromRingBaseline(std::size_t bytes, std::size_t sources);

// After a run: checks that no baseline copies slower per byte than one of a
// larger size (a slower small copy means its buffers were not placed or warmed
// fairly) and prints one line saying so. `cpuSeconds` gives a benchmark's CPU
// time per iteration, 0 when it was not measured.
void PrintBaselineCheck(const std::function<double(const std::string&)>& cpuSeconds);

}  // namespace qm71::bench
