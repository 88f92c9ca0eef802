#pragma once

#include <algorithm>
#include <chrono>

#include "platform/clock.h"

namespace qm71 {

// How long the programs wait for the card to make progress before they give up.
// A working card delivers a row within microseconds and a frame within a
// fraction of a second.
inline constexpr std::chrono::seconds kCardTimeout{2};

// How long to rest after a poll of the card found nothing. The driver is only
// polled (LineCount), with no event to wait on, so the rest starts short and
// doubles, up to kLongest, as long as it proves too short. kLongest is what a
// frame's last row may wait to be seen; it stays well inside the camera's
// pause between two frames, so that a host that keeps up arms the card in
// time for the next one.
class CardBackoff {
  public:
    static constexpr Clock::Duration kFirst = std::chrono::microseconds(50);
    static constexpr Clock::Duration kLongest = std::chrono::milliseconds(2);

    Clock::Duration Rest() const { return rest_; }
    // The rest was too short.
    void Longer() { rest_ = std::min(rest_ * 2, kLongest); }
    // Start short again.
    void Reset() { rest_ = kFirst; }

  private:
    Clock::Duration rest_ = kFirst;
};

// The waits for rows that come a fixed time after their request (a software
// trigger): each polls until the card has what it needs, resting between
// polls, and gives up after kCardTimeout without it. The rest that brought
// one row is kept for the next, so that 639 lines take about 639 line times.
class CardWait {
  public:
    explicit CardWait(Clock& clock) : clock_(clock) {}

    // Polls `ready` until it returns true; false when kCardTimeout passes
    // without it.
    template <typename Ready>
    bool Until(Ready&& ready) {
        if (ready()) return true;
        const Clock::Duration deadline = clock_.Now() + kCardTimeout;
        while (clock_.Now() < deadline) {
            clock_.Sleep(backoff_.Rest());
            if (ready()) return true;
            backoff_.Longer();
        }
        return false;
    }
    // The same with the count apart from the test on it, as StreamWait
    // takes them.
    template <typename Count, typename Enough>
    bool Until(Count&& count, Enough&& enough) {
        return Until([&] { return enough(count()); });
    }

  private:
    Clock& clock_;
    CardBackoff backoff_;
};

// The waits for the `rows` rows of one frame or image that stream in at the
// camera's pace and are read in order as they come. The counts the card
// reports show the pace, and a host that has caught up rests until about half
// of the rows still missing are due, and once they are due within two longest
// rests, until the last one is: a frame costs about a dozen wake-ups, however
// long it takes, and few of its rows are left to read when the last one has
// come. Before the pace shows, and when a row is later than it says, the rests
// back off as CardWait's do; a card that stands still is given up after
// kCardTimeout.
class StreamWait {
  public:
    StreamWait(Clock& clock, long long rows) : clock_(clock), rows_(rows) {}

    // Polls `count` (the rows the card has made so far) until `enough`
    // accepts what it returns; false when kCardTimeout passes without it.
    template <typename Count, typename Enough>
    bool Until(Count&& count, Enough&& enough) {
        const auto poll = [&] {
            const auto n = count();
            Seen(n);
            return enough(n);
        };
        if (poll()) return true;
        const Clock::Duration deadline = clock_.Now() + kCardTimeout;
        for (Clock::Duration now = clock_.Now(); now < deadline; now = clock_.Now()) {
            clock_.Sleep(std::min(Rest(now), deadline - now));
            if (poll()) {
                backoff_.Reset();
                return true;
            }
            backoff_.Longer();
        }
        return false;
    }

  private:
    // Only a new count is timed, so that reading rows that are there costs
    // no look at the clock.
    void Seen(long long count) {
        // The pace is timed from the first row seen: before it, the frame
        // may not have begun.
        if (!started_) {
            if (count == 0) return;
            started_ = true;
            firstAt_ = lastAt_ = clock_.Now();
            first_ = last_ = count;
        } else if (count != last_) {
            const Clock::Duration now = clock_.Now();
            lastAt_ = now;
            last_ = count;
            if (late_) {
                late_ = false;
                firstAt_ = now;
                first_ = count;
            }
        }
    }

    // How long until about half the missing rows are due at the pace seen
    // from the first count to the latest change, or until the last row is due
    // when that is near; the backoff when no pace shows or the rows are late.
    // Rows later than the pace said end that pace: the next one seen starts
    // timing it afresh, so that a pause does not pass for a slow pace.
    Clock::Duration Rest(Clock::Duration now) {
        if (started_ && last_ > first_ && last_ < rows_ && lastAt_ > firstAt_) {
            const Clock::Duration due =
                lastAt_ + (lastAt_ - firstAt_) * (rows_ - last_) / (last_ - first_) - now;
            if (due > 2 * CardBackoff::kLongest) return due / 2;
            if (due >= CardBackoff::kFirst) return due;
            late_ = true;
        }
        return backoff_.Rest();
    }

    Clock& clock_;
    long long rows_;
    CardBackoff backoff_;
    bool started_ = false;
    bool late_ = false;
    Clock::Duration firstAt_{}, lastAt_{};
    long long first_ = 0, last_ = 0;
};

// One wait of its own.
template <typename Ready>
bool PollCard(Clock& clock, Ready&& ready) {
    return CardWait(clock).Until(ready);
}

}  // namespace qm71
