#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "platform/serial_line.h"

namespace qm71 {

// Device path behind a port name. "COM1" and "COM2" (in any letter case) name
// the paths in QM71_COM1 / QM71_COM2, by default /dev/ttyS0 and /dev/ttyS1;
// any other name is taken as a path as it is.
std::string SerialDevicePath(const std::string& name);

// A serial port on a POSIX terminal device.
//
// Open takes the device for exclusive use: an advisory flock on the open file
// (which also keeps out a second open in the same process, and root) plus the
// terminal's exclusive mode. Opening an object that is already open closes the
// old port first. I/O is non-blocking underneath; Read and Write carry out
// the time-outs themselves on the monotonic clock and, while they wait, ask
// the wait watcher every kSerialWatchInterval whether to go on.
//
// What termios cannot express: DSR output flow control is ignored (GetSettings
// reports it off); DTR "Handshake" asserts DTR like "Enabled"; one and a half
// stop bits exist only with 5 data bits (as on the UART), where they are what
// the two-stop-bit setting gives.
class PosixSerialLine final : public SerialLine {
  public:
    PosixSerialLine() = default;
    ~PosixSerialLine() override;
    PosixSerialLine(const PosixSerialLine&) = delete;
    PosixSerialLine& operator=(const PosixSerialLine&) = delete;

    bool Open(const std::string& name) override;
    bool IsOpen() const override { return fd_ >= 0; }
    bool GetSettings(SerialSettings& settings) override;
    bool SetSettings(const SerialSettings& settings) override;
    bool SetTimeouts(const SerialTimeouts& timeouts) override;
    void SetWaitWatcher(SerialWaitWatcher* watcher) override { watcher_ = watcher; }
    void DiscardInput() override;
    bool Write(std::span<const std::byte> data, std::size_t& written) override;
    bool Read(std::span<std::byte> data, std::size_t& read) override;
    void Close() override;

  private:
    int fd_ = -1;
    std::string name_;
    SerialTimeouts timeouts_{};
    SerialWaitWatcher* watcher_ = nullptr;
};

}  // namespace qm71
