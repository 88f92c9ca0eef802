#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace qm71 {

// Line settings of a serial port, as a device-control record holds them.
struct SerialSettings {
    enum class Parity : std::uint8_t { None, Odd, Even, Mark, Space };
    enum class StopBits : std::uint8_t { One, OneAndHalf, Two };
    // DTR/RTS: not asserted, asserted while open, or driven by the handshake.
    enum class LineControl : std::uint8_t { Disabled, Enabled, Handshake };

    std::uint32_t baudRate = 9600;
    std::uint8_t dataBits = 8;
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
    bool ctsOutputFlow = false;
    bool dsrOutputFlow = false;
    LineControl dtr = LineControl::Disabled;
    LineControl rts = LineControl::Disabled;
    bool xonXoffOutput = false;
    bool xonXoffInput = false;
    char xonChar = 0x11;
    char xoffChar = 0x13;

    bool operator==(const SerialSettings&) const = default;
};

// Time-outs in milliseconds. A read ends when `readIntervalMs` pass without a
// byte once the first byte has come, or when readTotalPerByteMs * requested +
// readTotalConstantMs have passed since the read began. A write may take
// writeTotalPerByteMs * size + writeTotalConstantMs. All-zero read time-outs
// make a read return at once with what has already arrived; zero write
// totals let a write wait as long as it needs. Lines refuse negative values.
struct SerialTimeouts {
    int readIntervalMs = 0;
    int readTotalPerByteMs = 0;
    int readTotalConstantMs = 0;
    int writeTotalPerByteMs = 0;
    int writeTotalConstantMs = 0;

    bool operator==(const SerialTimeouts&) const = default;
};

// The time-outs of both cameras' lines. Read: 100 ms between bytes, 1000 ms a
// byte plus 1000 ms in all (a 32-byte read ends 100 ms after the last byte of
// a reply, or after 33 s of silence); write: 100 ms a byte plus 100 ms.
inline constexpr SerialTimeouts kCameraTimeouts{100, 1000, 1000, 100, 100};

// Asked now and then while a read or write waits for the line. The programs
// are single-threaded: this is how a long wait keeps the windows alive and
// lets the person at the machine give up.
class SerialWaitWatcher {
  public:
    virtual ~SerialWaitWatcher() = default;
    // `port` is the name the line was opened by, `waited` the time since the
    // read or write began. False ends the wait at once; the operation then
    // returns what it has (a read its count, a write false).
    virtual bool KeepWaiting(const std::string& port, std::chrono::milliseconds waited) = 0;
    // The read or write that asked KeepWaiting has returned.
    virtual void WaitEnded() = 0;
};

// How often a waiting line asks its watcher.
inline constexpr std::chrono::milliseconds kSerialWatchInterval{25};

// One serial port, opened by its platform name ("COM1", "COM2").
class SerialLine {
  public:
    virtual ~SerialLine() = default;
    // Exclusive open of an existing port; false when absent or held by another.
    virtual bool Open(const std::string& name) = 0;
    virtual bool IsOpen() const = 0;
    virtual bool GetSettings(SerialSettings& settings) = 0;
    virtual bool SetSettings(const SerialSettings& settings) = 0;
    virtual bool SetTimeouts(const SerialTimeouts& timeouts) = 0;
    // Null: waits ask nobody. The watcher must outlive its use by the line
    // and must neither close nor reopen it while it is asked.
    virtual void SetWaitWatcher(SerialWaitWatcher* watcher) = 0;
    // Drops what has arrived and not been read.
    virtual void DiscardInput() = 0;
    // One synchronous write of all bytes; `written` is what went out.
    virtual bool Write(std::span<const std::byte> data, std::size_t& written) = 0;
    // One synchronous read of up to data.size() bytes, ended by the time-outs
    // (or by the wait watcher); `read` is what arrived, 0 on silence. False
    // when the line failed (an I/O error, a hang-up): `read` then counts what
    // came before.
    virtual bool Read(std::span<std::byte> data, std::size_t& read) = 0;
    // Closes if open; closing a closed line does nothing.
    virtual void Close() = 0;
};

}  // namespace qm71
