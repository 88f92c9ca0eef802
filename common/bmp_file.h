#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "platform/atomic_file.h"

namespace qm71 {

// Size of the file header in front of a bitmap's info header.
inline constexpr std::size_t kBitmapFileHeaderSize = 14;

// The 14-byte file header of a BMP file: "BM", the file size (14 + the size of
// info header, colour table and pixels), two reserved words of 0 and the offset
// of the pixels from the start of the file. Little-endian, as the format wants.
std::array<std::byte, kBitmapFileHeaderSize> BitmapFileHeader(
    std::uint32_t infoAndTableAndPixelsSize, std::uint32_t pixelOffset);

// Writes an image block (40-byte info header, 256-entry colour table, pixels)
// as it stands behind a file header, so the file holds the colouring of the
// moment and the card's raw values. Complete or not at all, as WriteWholeFile
// does it in `mode`.
WriteResult WriteBitmapBlock(const std::filesystem::path& target, std::span<const std::byte> block,
                             WriteMode mode);

// The message box text for a failed save: which file, and why.
std::string SaveFailureMessage(const std::filesystem::path& target, const WriteResult& result);

}  // namespace qm71
