#include "common/bmp_file.h"

#include "platform/dib/bitmap_header.h"
#include "platform/little_endian.h"

namespace qm71 {

std::array<std::byte, kBitmapFileHeaderSize> BitmapFileHeader(
    std::uint32_t infoAndTableAndPixelsSize, std::uint32_t pixelOffset) {
    std::array<std::byte, kBitmapFileHeaderSize> h{};
    h[0] = std::byte{'B'};
    h[1] = std::byte{'M'};
    StoreLe32(&h[2], static_cast<std::uint32_t>(kBitmapFileHeaderSize) + infoAndTableAndPixelsSize);
    // Both reserved words stay 0.
    StoreLe32(&h[10], pixelOffset);
    return h;
}

WriteResult WriteBitmapBlock(const std::filesystem::path& target, std::span<const std::byte> block,
                             WriteMode mode) {
    const auto header =
        BitmapFileHeader(static_cast<std::uint32_t>(block.size()),
                         kBitmapFileHeaderSize + dib::kInfoHeaderSize + dib::kColourTableSize);
    // Straight from the block: acquisition runs on this thread, so nothing
    // changes it while it is written.
    const ByteSpan parts[] = {header, block};
    return WriteWholeFile(target, parts, mode);
}

std::string SaveFailureMessage(const std::filesystem::path& target, const WriteResult& result) {
    std::string text =
        "Die Datei \xE2\x80\x9E" + target.string() + "\xE2\x80\x9C konnte nicht gespeichert werden";
    if (!result.reason.empty()) text += ": " + result.reason;
    return text + ".";
}

}  // namespace qm71
