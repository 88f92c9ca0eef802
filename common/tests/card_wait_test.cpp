#include "common/card_wait.h"

#include <gtest/gtest.h>

namespace qm71 {
namespace {

using namespace std::chrono_literals;

// A frame of 2056 rows streaming in over 62.5 ms (15 frames a second): the
// reader wakes a few dozen times, not once a row, and sees the last row soon
// after it came.
TEST(CardWait, StreamingRowsAreReadInBatches) {
    ManualClock clock;
    constexpr long long kRows = 2056;
    constexpr Clock::Duration kActive = 62500us;
    auto arrived = [&] { return std::min(clock.Now() * kRows / kActive, kRows); };
    CardWait wait(clock, CardWait::Rows::Streaming);
    int emptyPolls = 0;
    for (long long row = 0; row < kRows; ++row) {
        ASSERT_TRUE(wait.Until([&] {
            const bool there = arrived() > row;
            emptyPolls += !there;
            return there;
        }));
    }
    EXPECT_LE(emptyPolls, 45);
    EXPECT_LE(clock.Now() - kActive, CardBackoff::kLongest);
}

// A line that comes 98 us after its trigger: the rest that brought one line
// is kept, so 639 lines take about 639 line times, not 639 longest rests.
TEST(CardWait, RowsOnRequestKeepTheRestThatWorked) {
    ManualClock clock;
    CardWait wait(clock);
    for (int line = 0; line < 639; ++line) {
        const Clock::Duration due = clock.Now() + 98us;
        ASSERT_TRUE(wait.Until([&] { return clock.Now() >= due; }));
    }
    EXPECT_LE(clock.Now(), 639 * 100us + 1ms);
}

// A card that never delivers is given up after kCardTimeout, polled about
// once every longest rest meanwhile.
TEST(CardWait, AStalledCardTimesOutWithoutSpinning) {
    ManualClock clock;
    int polls = 0;
    EXPECT_FALSE(PollCard(clock, [&] { return ++polls < 0; }));
    EXPECT_GE(clock.Now(), kCardTimeout);
    EXPECT_LE(clock.Now(), kCardTimeout + CardBackoff::kLongest);
    EXPECT_LE(polls, kCardTimeout / CardBackoff::kLongest + 12);
}

}  // namespace
}  // namespace qm71
