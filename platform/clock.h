#pragma once

#include <chrono>

namespace qm71 {

// Monotonic time as the programs and the simulated hardware see it. Tests pass
// a manual clock so that waiting for the card never waits for real.
class Clock {
  public:
    using Duration = std::chrono::nanoseconds;
    virtual ~Clock() = default;
    virtual Duration Now() = 0;
    // Give up the processor for about `d`; a manual clock simply advances.
    virtual void Sleep(Duration d) = 0;
};

// The steady clock of the machine.
Clock& SystemClock();

// A clock that only moves when told to (or when someone sleeps on it).
class ManualClock final : public Clock {
  public:
    Duration Now() override { return now_; }
    void Sleep(Duration d) override { now_ += d; }
    void Advance(Duration d) { now_ += d; }

  private:
    Duration now_{0};
};

}  // namespace qm71
