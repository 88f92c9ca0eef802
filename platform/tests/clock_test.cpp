#include "platform/clock.h"

#include <gtest/gtest.h>

namespace qm71 {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// The system clock keeps time with the C++ library's steady clock (a wrong
// tick rate would show as a factor) and sleeps at least as long as asked.
TEST(SystemClock, KeepsTimeAndSleepsAtLeastAsLongAsAsked) {
    Clock& clock = SystemClock();
    for (const Clock::Duration asked :
         {Clock::Duration(0), Clock::Duration(std::chrono::microseconds(50)),
          Clock::Duration(milliseconds(2)), Clock::Duration(milliseconds(30))}) {
        const auto before = steady_clock::now();
        const Clock::Duration start = clock.Now();
        clock.Sleep(asked);
        const Clock::Duration slept = clock.Now() - start;
        const auto outer = steady_clock::now() - before;
        EXPECT_GE(slept, asked);
        EXPECT_LE(slept, outer + milliseconds(1));
    }
}

}  // namespace
}  // namespace qm71
