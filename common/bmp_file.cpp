#include "common/bmp_file.h"

namespace qm71 {

std::array<std::byte, kBitmapFileHeaderSize> BitmapFileHeader(
    std::uint32_t infoAndTableAndPixelsSize, std::uint32_t pixelOffset) {
    std::array<std::byte, kBitmapFileHeaderSize> h{};
    const auto put32 = [&h](std::size_t at, std::uint32_t v) {
        for (std::size_t i = 0; i < 4; ++i)
            h[at + i] = static_cast<std::byte>((v >> (8 * i)) & 0xFF);
    };
    h[0] = std::byte{'B'};
    h[1] = std::byte{'M'};
    put32(2, static_cast<std::uint32_t>(kBitmapFileHeaderSize) + infoAndTableAndPixelsSize);
    put32(6, 0);  // both reserved words
    put32(10, pixelOffset);
    return h;
}

}  // namespace qm71
