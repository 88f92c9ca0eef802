#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/driver_channel.h"
#include "platform/little_endian.h"

namespace qm71 {

// The two requests as the card's driver reads them: little-endian records,
// handed to the driver's device-control codes as input and output block.
inline constexpr std::uint32_t kDriverRequestCode = 0x9C402850;
inline constexpr std::uint32_t kLineRequestCode = 0x9C402C24;

// Sub-command, value 1, value 2 (16 bits each), then 8 zero bytes.
using DriverRequestImage = std::array<std::byte, 14>;
// Destination address at 0, count of 32-bit words at 4, card base at 24
// (32 bits each); every other byte 0.
using LineRequestImage = std::array<std::byte, 60>;

inline DriverRequestImage EncodeDriverRequest(const DriverRequest& request) {
    DriverRequestImage image{};
    StoreLe16(&image[0], static_cast<std::uint16_t>(request.subCommand));
    StoreLe16(&image[2], request.value1);
    StoreLe16(&image[4], request.value2);
    return image;
}

// The driver's answer: both values come back; the sub-command stays as sent.
inline void DecodeDriverAnswer(const DriverRequestImage& image, DriverRequest& request) {
    request.value1 = LoadLe16(&image[2]);
    request.value2 = LoadLe16(&image[4]);
}

// Nothing when the destination lies above 4 GB: the record holds a 32-bit
// address, and a cut one would have the driver write somewhere else.
inline std::optional<LineRequestImage> EncodeLineRequest(const LineRequest& request) {
    const auto address = reinterpret_cast<std::uintptr_t>(request.destination);
    const auto address32 = static_cast<std::uint32_t>(address);
    if (address32 != address) return std::nullopt;
    LineRequestImage image{};
    StoreLe32(&image[0], address32);
    StoreLe32(&image[4], request.count);
    StoreLe32(&image[24], request.cardBase);
    return image;
}

}  // namespace qm71
