#include "common/bmp_file.h"

namespace qm71 {

namespace {
// Info header and colour table in front of the pixels.
constexpr std::uint32_t kInfoAndTableSize = 40 + 256 * 4;
}  // namespace

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

WriteResult WriteBitmapBlock(const std::filesystem::path& target, std::span<const std::byte> block,
                             WriteMode mode) {
    const auto header = BitmapFileHeader(static_cast<std::uint32_t>(block.size()),
                                         kBitmapFileHeaderSize + kInfoAndTableSize);
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
