#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/serial_line.h"

namespace qm71 {

// The fields of a device-control record that SerialSettings names, written
// over what `dcb` holds, with binary mode on and no sending after XOFF; every
// other field stays. False, with `dcb` untouched, for a value the record
// cannot hold.
bool ApplySerialSettings(const SerialSettings& settings, DCB& dcb);
// What a device-control record says about those fields. RTS "toggle" (high
// while sending) is reported as Enabled.
SerialSettings SerialSettingsOf(const DCB& dcb);

// A COM port through the Win32 communications API.
//
// Open takes the port for exclusive use (also where the driver would let a
// second opener in, as Wine's does) and asks for 256-byte driver queues.
// I/O is synchronous. Read and Write carry out SerialTimeouts themselves on
// the monotonic clock, in slices of at most kSerialWatchInterval while a
// watcher is set: each ReadFile returns shortly after bytes have come or when
// its slice has passed, each WriteFile sends for at most its slice, and
// between slices the watcher is asked whether to go on.
class Win32SerialLine final : public SerialLine {
  public:
    Win32SerialLine() = default;
    ~Win32SerialLine() override;
    Win32SerialLine(const Win32SerialLine&) = delete;
    Win32SerialLine& operator=(const Win32SerialLine&) = delete;

    // "COM1", "COM10", or a full device name (\\.\...). Opening an object
    // that is already open closes the old port first.
    bool Open(const std::string& name) override;
    bool IsOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }
    bool GetSettings(SerialSettings& settings) override;
    bool SetSettings(const SerialSettings& settings) override;
    bool SetTimeouts(const SerialTimeouts& timeouts) override;
    void SetWaitWatcher(SerialWaitWatcher* watcher) override { watcher_ = watcher; }
    void DiscardInput() override;
    bool Write(std::span<const std::byte> data, std::size_t& written) override;
    bool Read(std::span<std::byte> data, std::size_t& read) override;
    void Close() override;

  private:
    // Puts one slice's time-outs on the port, unless they are there already.
    // A read waits at most `readWaitMs` for its first byte (0: not at all), a
    // write sends for at most `writeWaitMs` (0: until done).
    bool SliceTimeouts(DWORD readWaitMs, DWORD writeWaitMs);

    HANDLE handle_ = INVALID_HANDLE_VALUE;
    HANDLE guard_ = nullptr;  // the port's name, held while it is open
    std::string name_;
    SerialTimeouts timeouts_{};
    SerialWaitWatcher* watcher_ = nullptr;
    COMMTIMEOUTS onPort_{};
    bool onPortKnown_ = false;
};

}  // namespace qm71
