#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "sim/camera/area_camera.h"
#include "sim/camera/camera_protocol.h"

namespace qm71::sim {

// Frames the area camera's commands on the line: a command is everything up
// to a carriage return. DC1/DC3 are the line's flow control, not data, and
// are dropped; a line feed or blank before a command is ignored, and an empty
// line gets no answer. A command longer than kMaxCommandLength is answered
// with "ERR" once its CR arrives.
class AreaCameraProtocol final : public CameraProtocol {
  public:
    static constexpr std::size_t kMaxCommandLength = 64;

    AreaCameraProtocol() = default;
    explicit AreaCameraProtocol(const AreaCameraSettings& powerOn) : camera_(powerOn) {}

    void Receive(std::span<const std::byte> data, std::vector<std::byte>& replyOut) override;
    void ClearInput() override;

    AreaCamera& Camera() { return camera_; }
    const AreaCamera& Camera() const { return camera_; }

  private:
    void Complete(std::vector<std::byte>& replyOut);

    AreaCamera camera_;
    std::vector<std::byte> pending_;
    bool overlong_ = false;
};

}  // namespace qm71::sim
