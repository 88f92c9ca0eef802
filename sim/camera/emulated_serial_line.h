#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "platform/serial_line.h"
#include "sim/camera/camera_protocol.h"

namespace qm71::sim {

// A serial port with a simulated camera on the other end, for in-process
// tests. Nothing waits: a read returns at once what the camera has answered.
//
// The timing faults are mapped onto the read time-outs the host has set:
// - late: when the reply would come after the read's total time-out
//   (per byte * requested + constant; no total time-out means the read would
//   wait), that read returns 0 bytes and the reply is there for the next read.
// - pieces: when the gap between pieces is at least the read interval
//   time-out, every read returns just one byte.
class EmulatedSerialLine final : public SerialLine {
  public:
    // Platform failures a test can provoke. writtenOnFailure is the count a
    // failing write reports as sent.
    struct Failures {
        bool getSettings = false;
        bool setSettings = false;
        bool setTimeouts = false;
        bool write = false;
        std::size_t writtenOnFailure = 0;
    };

    explicit EmulatedSerialLine(CameraProtocol& camera,
                                std::vector<std::string> portNames = {"COM1", "COM2"});

    // Which port names exist, and which are held by another program.
    void SetPortNames(std::vector<std::string> names) { portNames_ = std::move(names); }
    void SetBusy(const std::string& name, bool busy);
    void SetFailures(const Failures& failures) { failures_ = failures; }

    bool Open(const std::string& name) override;
    bool IsOpen() const override { return open_; }
    bool GetSettings(SerialSettings& settings) override;
    bool SetSettings(const SerialSettings& settings) override;
    bool SetTimeouts(const SerialTimeouts& timeouts) override;
    bool SetQueueSizes(std::size_t in, std::size_t out) override;
    bool Write(std::span<const std::byte> data, std::size_t& written) override;
    std::size_t Read(std::span<std::byte> data) override;
    void Close() override;

    // What the host did.
    const std::string& PortName() const { return portName_; }  // last port opened
    const SerialSettings& Settings() const { return settings_; }
    const SerialTimeouts& Timeouts() const { return timeouts_; }
    const std::vector<std::string>& Writes() const { return writes_; }  // each write, as sent
    const std::vector<Exchange>& Log() const { return log_; }  // each command and its reply
    int OpenCount() const { return openCount_; }
    int CloseCount() const { return closeCount_; }
    // Reply bytes sent by the camera and not yet read.
    std::size_t PendingBytes() const { return ready_.size() + fresh_.size() + deferred_.size(); }

  private:
    bool ReplyMissesRead(std::size_t requested) const;

    CameraProtocol& camera_;
    std::vector<std::string> portNames_;
    std::vector<std::string> busy_;
    Failures failures_;
    bool open_ = false;
    std::string portName_;
    SerialSettings settings_;
    SerialTimeouts timeouts_;
    std::vector<std::string> writes_;
    std::vector<Exchange> log_;
    int openCount_ = 0;
    int closeCount_ = 0;
    std::vector<std::byte> ready_;     // arrived, waiting to be read
    std::vector<std::byte> fresh_;     // answer to the last write, no read since
    std::vector<std::byte> deferred_;  // arrived after the read that waited for it
};

}  // namespace qm71::sim
