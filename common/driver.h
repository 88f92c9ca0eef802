#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace qm71 {

class DriverChannel;

// Device-control codes of the card's driver.
inline constexpr std::uint32_t kDriverRequestCode = 0x9C402850;  // 14-byte DriverRequest
inline constexpr std::uint32_t kLineRequestCode = 0x9C402C24;    // 60-byte LineRequest

// Sub-commands carried in a DriverRequest.
enum class SubCommand : std::uint16_t {
    Download = 0x09,
    PostDownload = 0x08,
    QueryBase = 0x29,
    SetParameter = 0x34,
    Commit = 0x3B,
    ArmFrame = 0x3C,
    BeginReadout = 0x3E,
    LineCount = 0x41,
    TriggerControl = 0x42,
    BeginTable = 0x43,
    TableEntries = 0x44,
    CloseCard = 0x63,
};

// The parameter SetParameter addresses: lines per acquisition (1 = one per trigger).
inline constexpr std::uint16_t kLinesParameter = 0x88E0;

// The two I/O bases a card may sit at; anything else the driver reports means 0x320.
inline constexpr std::uint16_t kDefaultCardBase = 0x320;
inline constexpr std::uint16_t kAlternateCardBase = 0x720;

// Sub-command with two 16-bit values that go in and come back.
struct DriverRequest {
    SubCommand subCommand{};
    std::uint16_t value1 = 0;
    std::uint16_t value2 = 0;
};

// Asks the driver to write one row of `count` 32-bit words at `destination`.
struct LineRequest {
    std::byte* destination = nullptr;
    std::uint32_t count = 0;
    std::uint32_t cardBase = 0;
};

inline constexpr std::size_t kDriverRequestSize = 14;
inline constexpr std::size_t kLineRequestSize = 60;

// Little-endian wire forms as the driver reads them: sub-command, value 1,
// value 2, eight zero bytes; and destination, count, 16 zero bytes, base at 24,
// zeros to 60. The destination is a 32-bit address on the wire.
std::array<std::byte, kDriverRequestSize> EncodeDriverRequest(const DriverRequest& request);
DriverRequest DecodeDriverRequest(std::span<const std::byte, kDriverRequestSize> wire);
std::array<std::byte, kLineRequestSize> EncodeLineRequest(const LineRequest& request);

// The program's one link to the card's driver: the handle and the two request
// records. When the driver could not be opened every request fails and leaves
// the caller's values as they were.
class Driver {
  public:
    explicit Driver(DriverChannel& channel) : channel_(channel) {}
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // Opens the driver's device; false when there is none.
    bool Open();
    bool IsOpen() const { return open_; }

    // Sends one sub-command; both values are updated with the driver's answer.
    bool DriverCommand(SubCommand subCommand, std::uint16_t& value1, std::uint16_t& value2);
    // For requests whose answer nobody reads.
    bool Send(SubCommand subCommand, std::uint16_t value1 = 0, std::uint16_t value2 = 0);

    // The program's line request record; TransferLine sends it as it stands.
    LineRequest& Line() { return line_; }
    bool TransferLine();

    // CloseCard, then the handle. Safe to call more than once.
    void CloseGrabber();

  private:
    DriverChannel& channel_;
    bool open_ = false;
    LineRequest line_{};
};

}  // namespace qm71
