#pragma once

#include <cstdint>

namespace qm71 {

// One colour-table entry as a bitmap stores it: blue, green, red, 0.
struct RgbQuad {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
    friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};
static_assert(sizeof(RgbQuad) == 4);

}  // namespace qm71
