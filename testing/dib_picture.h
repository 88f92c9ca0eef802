#pragma once

// A small packed 8-bit DIB for drawing tests: 16 x 8 pixels, bottom-up, every
// pixel value with its own colour.
#include <cstddef>
#include <vector>

#include "platform/dib/bitmap_header.h"

namespace qm71::testing {

inline std::vector<std::byte> DibPicture() {
    std::vector<std::byte> block(dib::kInfoHeaderSize + dib::kColourTableSize + 16 * 8);
    dib::StoreInfoHeader(block.data(), {.width = 16, .height = 8});
    for (std::size_t v = 0; v < 256; ++v) {
        std::byte* q = block.data() + dib::kInfoHeaderSize + 4 * v;
        q[0] = std::byte(v);
        q[1] = std::byte(255 - v);
        q[2] = std::byte(v ^ 0x5A);
    }
    for (std::size_t i = 0; i < 16 * 8; ++i)
        block[dib::kInfoHeaderSize + dib::kColourTableSize + i] = std::byte(i * 7 + 3);
    return block;
}

}  // namespace qm71::testing
