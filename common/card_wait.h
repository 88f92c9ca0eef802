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

// The waits of one frame or image on the card: each polls until the card has
// what it needs, resting between polls, and gives up after kCardTimeout
// without it. The rest carries over from one wait to the next. Where each row
// comes a fixed time after its request (a software trigger), the rest that
// brought one row is kept for the next. Where the rows stream in at the
// camera's pace, a host that has caught up rests longer each time, so that
// it wakes to a batch of rows: a frame costs a few dozen wake-ups, and a row
// waits at most CardBackoff::kLongest before it is seen.
class CardWait {
  public:
    enum class Rows { OnRequest, Streaming };

    explicit CardWait(Clock& clock, Rows rows = Rows::OnRequest)
        : clock_(clock), streaming_(rows == Rows::Streaming) {}

    // Polls `ready` until it returns true; false when kCardTimeout passes
    // without it.
    template <typename Ready>
    bool Until(Ready&& ready) {
        if (ready()) return true;
        const Clock::Duration deadline = clock_.Now() + kCardTimeout;
        while (clock_.Now() < deadline) {
            clock_.Sleep(backoff_.Rest());
            const bool came = ready();
            if (!came || streaming_) backoff_.Longer();
            if (came) return true;
        }
        return false;
    }

  private:
    Clock& clock_;
    bool streaming_;
    CardBackoff backoff_;
};

// One wait of its own.
template <typename Ready>
bool PollCard(Clock& clock, Ready&& ready) {
    return CardWait(clock).Until(ready);
}

}  // namespace qm71
