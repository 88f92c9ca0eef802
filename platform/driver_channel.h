#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qm71 {

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

// The sub-command's name as the trace shows it; "?" for a
// number that is none of them.
constexpr std::string_view SubCommandName(SubCommand c) {
    switch (c) {
        case SubCommand::Download:
            return "Download";
        case SubCommand::PostDownload:
            return "PostDownload";
        case SubCommand::QueryBase:
            return "QueryBase";
        case SubCommand::SetParameter:
            return "SetParameter";
        case SubCommand::Commit:
            return "Commit";
        case SubCommand::ArmFrame:
            return "ArmFrame";
        case SubCommand::BeginReadout:
            return "BeginReadout";
        case SubCommand::LineCount:
            return "LineCount";
        case SubCommand::TriggerControl:
            return "TriggerControl";
        case SubCommand::BeginTable:
            return "BeginTable";
        case SubCommand::TableEntries:
            return "TableEntries";
        case SubCommand::CloseCard:
            return "CloseCard";
    }
    return "?";
}

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

// The card's kernel driver: one open handle, two device-control requests.
class DriverChannel {
  public:
    virtual ~DriverChannel() = default;
    // Opens the driver's device. False: no driver on this machine.
    virtual bool Open() = 0;
    // The 14-byte request: both value words go in and come back.
    virtual bool Command(DriverRequest& request) = 0;
    // The 60-byte request: the driver writes one row of `request.count` 32-bit
    // words at `request.destination`.
    virtual bool TransferLine(const LineRequest& request) = 0;
    virtual void Close() = 0;
};

}  // namespace qm71
