#pragma once

// What every serial line implementation shares while it waits: the total
// time-outs of SerialTimeouts and the watcher, asked every
// kSerialWatchInterval.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/serial_line.h"

namespace qm71 {

// Longest total time-out we compute with; anything beyond is treated as "no
// time-out" (it is ten days and keeps the arithmetic far from overflow).
inline constexpr std::int64_t kLongestSerialTotalMs = 10LL * 24 * 60 * 60 * 1000;

// per-byte * n + constant, or nothing when both are zero (no total time-out).
inline std::optional<std::chrono::milliseconds> SerialTotalTimeout(int perByteMs, int constantMs,
                                                                   std::size_t n) {
    if (perByteMs == 0 && constantMs == 0) return std::nullopt;
    const auto perByte = static_cast<std::int64_t>(perByteMs);
    if (perByte > 0 && n > static_cast<std::size_t>(kLongestSerialTotalMs / perByte)) {
        return std::nullopt;
    }
    const std::int64_t total = perByte * static_cast<std::int64_t>(n) + constantMs;
    if (total > kLongestSerialTotalMs) return std::nullopt;
    return std::chrono::milliseconds(total);
}

// Time-outs a line can carry out: none negative.
inline bool ValidSerialTimeouts(const SerialTimeouts& t) {
    return t.readIntervalMs >= 0 && t.readTotalPerByteMs >= 0 && t.readTotalConstantMs >= 0 &&
           t.writeTotalPerByteMs >= 0 && t.writeTotalConstantMs >= 0;
}

// When one read of `size` bytes is over: the total time-out counts from its
// start, the interval from the last byte once one has come.
class SerialReadTimer {
  public:
    using Clock = std::chrono::steady_clock;

    SerialReadTimer(const SerialTimeouts& t, std::size_t size) : interval_(t.readIntervalMs) {
        const auto total = SerialTotalTimeout(t.readTotalPerByteMs, t.readTotalConstantMs, size);
        timed_ = total.has_value();
        if (timed_) deadline_ = Clock::now() + *total;
    }
    // All-zero read time-outs: the read takes what is there and returns.
    bool AtOnce() const { return interval_.count() == 0 && !timed_; }
    void BytesCame() {
        lastByte_ = Clock::now();
        anyByte_ = true;
    }
    // Nothing: the read waits for its first byte as long as it takes.
    std::optional<Clock::time_point> End() const {
        const bool byInterval = anyByte_ && interval_.count() > 0;
        if (byInterval && (!timed_ || lastByte_ + interval_ < deadline_)) {
            return lastByte_ + interval_;
        }
        if (timed_) return deadline_;
        return std::nullopt;
    }

  private:
    std::chrono::milliseconds interval_;
    bool timed_ = false;  // a total time-out applies
    Clock::time_point deadline_{};
    bool anyByte_ = false;
    Clock::time_point lastByte_{};
};

// One read or write as the watcher sees it: asked at most every
// kSerialWatchInterval while the operation waits, told when it returns.
class SerialWatch {
  public:
    using Clock = std::chrono::steady_clock;

    SerialWatch(SerialWaitWatcher* watcher, const std::string& port)
        : watcher_(watcher), port_(port), start_(Clock::now()), lastAsked_(start_) {}
    ~SerialWatch() {
        if (asked_) watcher_->WaitEnded();
    }
    SerialWatch(const SerialWatch&) = delete;
    SerialWatch& operator=(const SerialWatch&) = delete;

    // False once the watcher has ended the wait.
    bool KeepWaiting() {
        if (watcher_ == nullptr) return true;
        const Clock::time_point now = Clock::now();
        if (now - lastAsked_ < kSerialWatchInterval) return true;
        lastAsked_ = now;
        asked_ = true;
        return watcher_->KeepWaiting(
            port_, std::chrono::duration_cast<std::chrono::milliseconds>(now - start_));
    }
    // The longest a wait may last before the watcher is due again.
    std::optional<Clock::time_point> NextLook() const {
        if (watcher_ == nullptr) return std::nullopt;
        return lastAsked_ + kSerialWatchInterval;
    }

  private:
    SerialWaitWatcher* watcher_;
    std::string port_;
    Clock::time_point start_;
    Clock::time_point lastAsked_;
    bool asked_ = false;
};

}  // namespace qm71
