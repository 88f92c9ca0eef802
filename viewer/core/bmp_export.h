#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "common/bmp_file.h"
#include "platform/atomic_file.h"
#include "platform/operator.h"
#include "viewer/core/display_image.h"

namespace qm71 {

// A saved frame: the 14-byte file header followed by the whole image block
// (info header, colour table, pixels), so 1078 + 3072 x 2056 bytes.
inline constexpr std::uint32_t kBitmapPixelOffset =
    static_cast<std::uint32_t>(kBitmapFileHeaderSize + DisplayImage::kPixelOffset);  // 1078
inline constexpr std::uint32_t kBitmapFileSize =
    static_cast<std::uint32_t>(kBitmapFileHeaderSize + DisplayImage::kBlockSize);  // 6,317,110

// Writes the image block as it stands behind a file header. The colour table
// is the colouring of the moment; the pixels are the card's raw values. The
// file is replaced as WriteWholeFile does it: complete or not at all, through
// symbolic links, keeping the old file's mode; when the save fails an existing
// file keeps its contents.
WriteResult SaveBitmap(const std::filesystem::path& target, const DisplayImage& image);

// SaveBitmap with the wait cursor shown while the 6 MB are written and the
// failure, if any, told to the operator. True when the file was written.
bool SaveBitmapReporting(const std::filesystem::path& target, const DisplayImage& image,
                         Operator& op);

// The save dialog's rule for a typed name: without an extension it gets ".bmp".
std::filesystem::path WithDefaultExtension(std::filesystem::path typed);

}  // namespace qm71
