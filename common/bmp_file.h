#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qm71 {

// Size of the file header in front of a bitmap's info header.
inline constexpr std::size_t kBitmapFileHeaderSize = 14;

// The 14-byte file header of a BMP file: "BM", the file size (14 + the size of
// info header, colour table and pixels), two reserved words of 0 and the offset
// of the pixels from the start of the file. Little-endian, as the format wants.
std::array<std::byte, kBitmapFileHeaderSize> BitmapFileHeader(
    std::uint32_t infoAndTableAndPixelsSize, std::uint32_t pixelOffset);

}  // namespace qm71
