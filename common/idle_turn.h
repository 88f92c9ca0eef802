#pragma once

#include "platform/clock.h"

namespace qm71 {

// What one idle turn of a live loop did: it drew a picture, or it found
// nothing yet and the loop may rest for `rest` before the next turn (a front
// end whose timer counts whole milliseconds rounds it up).
struct IdleTurn {
    bool drawn = false;
    Clock::Duration rest{0};
};

}  // namespace qm71
