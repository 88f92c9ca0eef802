#include "sim/camera/area_camera_protocol.h"

#include <string>
#include <utility>

namespace qm71::sim {

namespace {
constexpr std::byte kCr{0x0D};
constexpr std::byte kLf{0x0A};
constexpr std::byte kBlank{0x20};
constexpr std::byte kXon{0x11};
constexpr std::byte kXoff{0x13};
}  // namespace

void AreaCameraProtocol::Receive(std::span<const std::byte> data,
                                 std::vector<std::byte>& replyOut) {
    for (std::byte b : data) {
        if (b == kXon || b == kXoff) continue;
        if (b == kCr) {
            Complete(replyOut);
            continue;
        }
        if (pending_.empty() && (b == kLf || b == kBlank)) continue;
        if (pending_.size() < kMaxCommandLength) {
            pending_.push_back(b);
        } else {
            overlong_ = true;
        }
    }
}

void AreaCameraProtocol::ClearInput() {
    pending_.clear();
    overlong_ = false;
}

void AreaCameraProtocol::Complete(std::vector<std::byte>& replyOut) {
    std::vector<std::byte> command = std::exchange(pending_, {});
    const bool overlong = std::exchange(overlong_, false);
    if (command.empty() && !overlong) return;
    const std::string text = ToText(command);
    command.push_back(kCr);

    // A camera that misbehaves does not act on what it is told either.
    const CameraFaults& f = Faults();
    std::vector<std::byte> reply;
    if (f.silent) {
        // nothing
    } else if (f.garbage) {
        reply = NextGarbage();
    } else if (f.refuse || overlong) {
        reply = ToBytes(AreaCamera::kError);
    } else {
        reply = ToBytes(camera_.Execute(text));
    }
    replyOut.insert(replyOut.end(), reply.begin(), reply.end());
    RecordExchange(std::move(command), std::move(reply));
}

}  // namespace qm71::sim
