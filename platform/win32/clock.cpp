#include "platform/clock.h"

#include <windows.h>

#include <cstdint>

namespace qm71 {

namespace {

// CreateWaitableTimerExW's flag for a timer that keeps its own resolution
// (Windows 10 1803 and later; older systems refuse the flag). MinGW's headers
// do not name it yet.
constexpr DWORD kHighResolutionTimer = 0x2;

// Sleep() counts in whole milliseconds of the system's timer tick (15.6 ms
// unless some program asked for more), which would turn the short waits
// between a camera's rows into long ones. A waitable timer made with
// the high-resolution flag wakes on time without changing the
// tick for the whole system; where the system has no such timer, Sleep() with
// the time rounded up to the next millisecond is used.
class PerformanceClock final : public Clock {
  public:
    PerformanceClock() {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        frequency_ = f.QuadPart;
        timer_ = CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS);
    }
    ~PerformanceClock() override {
        if (timer_ != nullptr) CloseHandle(timer_);
    }
    PerformanceClock(const PerformanceClock&) = delete;
    PerformanceClock& operator=(const PerformanceClock&) = delete;

    Duration Now() override {
        LARGE_INTEGER c;
        QueryPerformanceCounter(&c);
        // Whole seconds and the rest apart, so that the product cannot overflow.
        const std::int64_t seconds = c.QuadPart / frequency_;
        const std::int64_t rest = c.QuadPart % frequency_;
        return std::chrono::seconds(seconds) + Duration(rest * 1'000'000'000 / frequency_);
    }

    void Sleep(Duration d) override {
        if (d <= Duration::zero()) return;
        if (timer_ != nullptr) {
            LARGE_INTEGER due;
            due.QuadPart = -((d.count() + 99) / 100);  // relative, in 100 ns
            if (SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE)) {
                WaitForSingleObject(timer_, INFINITE);
                return;
            }
        }
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(d).count();
        ::Sleep(static_cast<DWORD>(ms));
    }

  private:
    std::int64_t frequency_ = 1;
    HANDLE timer_ = nullptr;
};

}  // namespace

Clock& SystemClock() {
    static PerformanceClock clock;
    return clock;
}

}  // namespace qm71
