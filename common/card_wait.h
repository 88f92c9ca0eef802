#pragma once

#include <chrono>

#include "platform/clock.h"

namespace qm71 {

// How long the programs wait for the card to make progress before they give up.
// A working card delivers a row within microseconds and a frame within a
// fraction of a second.
inline constexpr std::chrono::seconds kCardTimeout{2};

// Polls `ready` until it returns true. Returns false when kCardTimeout passes
// without it. The first polls follow each other at once (rows come fast); after
// that the wait sleeps a little between polls so a stalled card does not keep a
// core busy.
template <typename Ready>
bool PollCard(Clock& clock, Ready&& ready) {
    constexpr int kSpins = 256;
    constexpr std::chrono::microseconds kPause{100};
    for (int i = 0; i < kSpins; ++i)
        if (ready()) return true;
    const Clock::Duration deadline = clock.Now() + kCardTimeout;
    while (!ready()) {
        if (clock.Now() >= deadline) return false;
        clock.Sleep(kPause);
    }
    return true;
}

}  // namespace qm71
