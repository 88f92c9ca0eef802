#include "platform/clock.h"

#include <thread>

namespace qm71 {

namespace {
class SteadyClock final : public Clock {
  public:
    Duration Now() override {
        return std::chrono::duration_cast<Duration>(
            std::chrono::steady_clock::now().time_since_epoch());
    }
    void Sleep(Duration d) override { std::this_thread::sleep_for(d); }
};
}  // namespace

Clock& SystemClock() {
    static SteadyClock clock;
    return clock;
}

}  // namespace qm71
