#include "common/card_wait.h"

#include <gtest/gtest.h>

namespace qm71 {
namespace {

using namespace std::chrono_literals;

// A frame of 2056 rows that streams in over 62.5 ms (15 frames a second),
// read row by row by a host that begins at `begin`, with `arrived` telling
// how many rows the card holds at a time. Returns how often the host found
// no new row, and how late it saw the last one; fails if a wait gave up.
struct Reading {
    int emptyPolls = 0;
    Clock::Duration lastSeenLate{};
};
constexpr long long kRows = 2056;
constexpr Clock::Duration kActive = 62500us;

template <typename Arrived>
Reading ReadFrame(ManualClock& clock, Arrived&& arrived, Clock::Duration lastDue) {
    Reading reading;
    StreamWait wait(clock, kRows);
    for (long long row = 0; row < kRows; ++row) {
        const bool came = wait.Until(
            [&] {
                const long long n = arrived();
                reading.emptyPolls += n <= row;
                return n;
            },
            [row](long long n) { return n > row; });
        if (!came) {
            ADD_FAILURE() << "gave up at row " << row << " after " << clock.Now().count() << " ns";
            break;
        }
    }
    reading.lastSeenLate = clock.Now() - lastDue;
    return reading;
}

// The host wakes about a dozen times a frame, not once a row nor once a
// longest rest, and still sees the last row soon after it came; the same
// when the frame begins only after the host asked (a count of 0 first
// tells nothing of the pace) and when the pace changes half-way.
TEST(StreamWait, RowsAreReadInFewBatchesAndTheLastSoonAfterItCame) {
    {
        ManualClock clock;
        auto arrived = [&] { return std::min(clock.Now() * kRows / kActive, kRows); };
        const Reading r = ReadFrame(clock, arrived, kActive);
        EXPECT_LE(r.emptyPolls, 14);
        EXPECT_LE(r.lastSeenLate, CardBackoff::kLongest);
    }
    {
        ManualClock clock;
        constexpr Clock::Duration kBegin = 30ms;
        auto arrived = [&] {
            const Clock::Duration t = clock.Now() - kBegin;
            return t.count() < 0 ? 0 : std::min(t * kRows / kActive, kRows);
        };
        const Reading r = ReadFrame(clock, arrived, kBegin + kActive);
        EXPECT_LE(r.emptyPolls, 30);
        EXPECT_LE(r.lastSeenLate, CardBackoff::kLongest);
    }
    {
        // The second half twice as fast: the host waits at most as long as it
        // expected, then backs off.
        ManualClock clock;
        constexpr Clock::Duration kHalf = kActive / 2;
        auto arrived = [&] {
            const Clock::Duration t = clock.Now();
            const long long n =
                t < kHalf ? t * kRows / kActive : kRows / 2 + (t - kHalf) * kRows / kHalf;
            return std::min(n, kRows);
        };
        const Reading r = ReadFrame(clock, arrived, kHalf + kHalf / 2);
        EXPECT_LE(r.emptyPolls, 20);
        EXPECT_LE(r.lastSeenLate, kActive / 4);
    }
}

// A card that stops half-way is given up after kCardTimeout, polled about
// once a longest rest meanwhile; one that goes on after a pause is seen to
// within a longest rest.
TEST(StreamWait, APauseBacksOffAndAStopTimesOut) {
    {
        ManualClock clock;
        int polls = 0;
        StreamWait wait(clock, kRows);
        auto count = [&] {
            ++polls;
            return std::min(clock.Now() * kRows / kActive, kRows / 2);
        };
        ASSERT_TRUE(wait.Until(count, [](long long n) { return n > 100; }));
        const Clock::Duration start = clock.Now();
        polls = 0;
        EXPECT_FALSE(wait.Until(count, [](long long n) { return n > kRows / 2; }));
        EXPECT_GE(clock.Now() - start, kCardTimeout);
        EXPECT_LE(clock.Now() - start, kCardTimeout + CardBackoff::kLongest);
        EXPECT_LE(polls, kCardTimeout / CardBackoff::kLongest + 24);
    }
    {
        ManualClock clock;
        constexpr Clock::Duration kPause = 500ms;
        auto arrived = [&] {
            const Clock::Duration t = clock.Now();
            if (t < kActive / 2) return t * kRows / kActive;
            if (t < kActive / 2 + kPause) return kRows / 2;
            return std::min((t - kPause) * kRows / kActive, kRows);
        };
        const Reading r = ReadFrame(clock, arrived, kActive + kPause);
        EXPECT_LE(r.lastSeenLate, CardBackoff::kLongest);
    }
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
