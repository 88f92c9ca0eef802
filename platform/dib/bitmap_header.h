#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/dib/rgb_quad.h"
#include "platform/little_endian.h"

namespace qm71::dib {

// Size of the info header our bitmaps carry, and of the 256-entry colour table.
inline constexpr std::size_t kInfoHeaderSize = 40;
inline constexpr std::size_t kColourTableSize = 256 * sizeof(RgbQuad);

// Bytes of one stored row of a bitmap of `width` pixels at 8 or 16 bits each.
constexpr std::size_t RowBytes(std::size_t width, int bitsPerPixel = 8) {
    return (width * std::size_t(bitsPerPixel / 8) + 3) & ~std::size_t{3};
}

// The fields of an info header that our bitmaps set; the others are 0 but for
// the header size (40) and the planes (1). A positive height stores the rows
// bottom-up.
struct InfoHeader {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitsPerPixel = 8;
    std::uint32_t imageSize = 0;  // bytes of the padded rows; 0 may stand for them
    std::uint32_t coloursUsed = 0;
};

// Writes the 40 bytes of `header` at `at`, little-endian; no compression, no
// resolution, no important colours.
inline void StoreInfoHeader(std::byte* at, const InfoHeader& header) {
    for (std::size_t i = 0; i < kInfoHeaderSize; ++i) at[i] = std::byte{0};
    StoreLe32(at, kInfoHeaderSize);
    StoreLe32(at + 4, static_cast<std::uint32_t>(header.width));
    StoreLe32(at + 8, static_cast<std::uint32_t>(header.height));
    StoreLe16(at + 12, 1);
    StoreLe16(at + 14, header.bitsPerPixel);
    StoreLe32(at + 20, header.imageSize);
    StoreLe32(at + 32, header.coloursUsed);
}

}  // namespace qm71::dib
