#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sim/camera/camera_protocol.h"

namespace qm71::sim {

// The sample program's camera: binary frames of a length byte n (signed)
// followed by n bytes, the command number and its parameters. Every frame is
// answered with one status byte.
//
// Commands known, with their parameter counts: 7 frame size (3: width - 1
// high byte, low byte, height - 1), 9 (1), 10 (2), 11 (2), 12 (2).
class SampleCameraProtocol final : public CameraProtocol {
  public:
    static constexpr std::uint8_t kAccepted = 0x00;
    static constexpr std::uint8_t kUnknownCommand = 0x01;
    static constexpr std::uint8_t kBadLength = 0x02;  // n <= 0, or wrong for the command
    static constexpr std::uint8_t kRefused = 0xFF;

    // `refusedCommand`: a command number answered kRefused, however well
    // formed; -1 for none.
    explicit SampleCameraProtocol(int refusedCommand = -1) : refused_(refusedCommand) {}

    void Receive(std::span<const std::byte> data, std::vector<std::byte>& replyOut) override;
    void ClearInput() override { pending_.clear(); }

    // Parameters of the last accepted frame of a command, if any came.
    std::optional<std::vector<std::byte>> LastParameters(std::uint8_t command) const;
    // From the last frame-size command; 0 before the first.
    int FrameWidth() const { return width_; }
    int FrameHeight() const { return height_; }

  private:
    std::uint8_t Execute(std::span<const std::byte> frame);

    std::vector<std::byte> pending_;
    std::array<std::optional<std::vector<std::byte>>, 256> last_;
    int width_ = 0;
    int height_ = 0;
    int refused_ = -1;
};

}  // namespace qm71::sim
