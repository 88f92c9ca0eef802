#include "sim/camera/sample_camera_protocol.h"

#include <utility>

namespace qm71::sim {

namespace {

int ParameterCount(std::uint8_t command) {
    switch (command) {
        case 7:
            return 3;
        case 9:
            return 1;
        case 10:
        case 11:
        case 12:
            return 2;
        default:
            return -1;
    }
}

}  // namespace

void SampleCameraProtocol::Receive(std::span<const std::byte> data,
                                   std::vector<std::byte>& replyOut) {
    for (std::byte b : data) {
        pending_.push_back(b);
        const auto n = static_cast<std::int8_t>(pending_.front());
        // A length of zero or below can never be followed by a frame: answer
        // at once so the host is not left waiting.
        if (n > 0 && pending_.size() < static_cast<std::size_t>(n) + 1) continue;

        std::vector<std::byte> frame = std::exchange(pending_, {});
        std::vector<std::byte> reply;
        const CameraFaults& f = Faults();
        if (f.silent) {
            // nothing
        } else if (f.garbage) {
            reply = NextGarbage();
        } else if (f.refuse) {
            reply = {std::byte{kRefused}};
        } else {
            reply = {std::byte{Execute(frame)}};
        }
        replyOut.insert(replyOut.end(), reply.begin(), reply.end());
        RecordExchange(std::move(frame), std::move(reply));
    }
}

std::uint8_t SampleCameraProtocol::Execute(std::span<const std::byte> frame) {
    if (frame.size() < 2) return kBadLength;
    const auto command = std::to_integer<std::uint8_t>(frame[1]);
    if (command == refused_) return kRefused;
    const int count = ParameterCount(command);
    if (count < 0) return kUnknownCommand;
    if (frame.size() != static_cast<std::size_t>(count) + 2) return kBadLength;
    const auto params = frame.subspan(2);
    if (command == 7) {
        width_ = (std::to_integer<int>(params[0]) << 8 | std::to_integer<int>(params[1])) + 1;
        height_ = std::to_integer<int>(params[2]) + 1;
    }
    last_[command] = std::vector<std::byte>(params.begin(), params.end());
    return kAccepted;
}

std::optional<std::vector<std::byte>> SampleCameraProtocol::LastParameters(
    std::uint8_t command) const {
    return last_[command];
}

}  // namespace qm71::sim
