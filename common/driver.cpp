#include "common/driver.h"

#include "platform/driver_channel.h"

namespace qm71 {

namespace {
void Put16(std::byte* p, std::uint16_t v) {
    p[0] = std::byte(v & 0xFF);
    p[1] = std::byte(v >> 8);
}
void Put32(std::byte* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = std::byte((v >> (8 * i)) & 0xFF);
}
std::uint16_t Get16(const std::byte* p) {
    return static_cast<std::uint16_t>(std::to_integer<unsigned>(p[0]) |
                                      (std::to_integer<unsigned>(p[1]) << 8));
}
}  // namespace

std::array<std::byte, kDriverRequestSize> EncodeDriverRequest(const DriverRequest& request) {
    std::array<std::byte, kDriverRequestSize> wire{};
    Put16(&wire[0], static_cast<std::uint16_t>(request.subCommand));
    Put16(&wire[2], request.value1);
    Put16(&wire[4], request.value2);
    return wire;
}

DriverRequest DecodeDriverRequest(std::span<const std::byte, kDriverRequestSize> wire) {
    return {static_cast<SubCommand>(Get16(&wire[0])), Get16(&wire[2]), Get16(&wire[4])};
}

std::array<std::byte, kLineRequestSize> EncodeLineRequest(const LineRequest& request) {
    std::array<std::byte, kLineRequestSize> wire{};
    Put32(&wire[0],
          static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(request.destination)));
    Put32(&wire[4], request.count);
    Put32(&wire[24], request.cardBase);
    return wire;
}

bool Driver::Open() {
    open_ = channel_.Open();
    return open_;
}

bool Driver::DriverCommand(SubCommand subCommand, std::uint16_t& value1, std::uint16_t& value2) {
    if (!open_) return false;
    DriverRequest request{subCommand, value1, value2};
    const bool ok = channel_.Command(request);
    value1 = request.value1;
    value2 = request.value2;
    return ok;
}

bool Driver::Send(SubCommand subCommand, std::uint16_t value1, std::uint16_t value2) {
    return DriverCommand(subCommand, value1, value2);
}

bool Driver::TransferLine() {
    return open_ && channel_.TransferLine(line_);
}

void Driver::CloseGrabber() {
    if (!open_) return;
    Send(SubCommand::CloseCard);
    channel_.Close();
    open_ = false;
}

}  // namespace qm71
