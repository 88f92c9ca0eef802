#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace qm71 {

// Size of the file header in front of a bitmap's info header.
inline constexpr std::size_t kBitmapFileHeaderSize = 14;

// The 14-byte file header of a BMP file: "BM", the file size (14 + the size of
// info header, colour table and pixels), two reserved words of 0 and the offset
// of the pixels from the start of the file. Little-endian, as the format wants.
std::array<std::byte, kBitmapFileHeaderSize> BitmapFileHeader(
    std::uint32_t infoAndTableAndPixelsSize, std::uint32_t pixelOffset);

enum class SaveStatus {
    kWritten,    // the file is complete under its name
    kNameTaken,  // exclusive create only: a file of that name exists; nothing was written
    kFailed,     // nothing changed under the name; `reason` says why
};

struct SaveResult {
    SaveStatus status = SaveStatus::kFailed;
    // Why it failed, in the system's words (for example "No space left on
    // device"); empty when the file was written.
    std::string reason;

    bool ok() const { return status == SaveStatus::kWritten; }
};

using ByteSpan = std::span<const std::byte>;

// Writes `header14` followed by `body` to `target`, all or nothing: the bytes go
// to a temporary file beside the target, are flushed to the disk and then
// renamed over the target. On any failure the temporary file is removed and an
// existing target keeps its old contents.
SaveResult WriteBitmapFile(const std::filesystem::path& target, ByteSpan header14, ByteSpan body);

// The same for a file given in several pieces, written one after another
// without copying them together first.
SaveResult WriteBitmapFile(const std::filesystem::path& target, std::span<const ByteSpan> parts);

// Creates `target` with the pieces, but only if no file of that name exists:
// a numbered capture never overwrites. Returns kNameTaken when the name is in
// use (the caller tries the next number). As above, the file appears complete
// or not at all.
SaveResult CreateBitmapFileExclusive(const std::filesystem::path& target,
                                     std::span<const ByteSpan> parts);

namespace detail {
// How the finished temporary file is given its exclusive name.
enum class ClaimMethod {
    kLink,              // hard link: fails if the name exists, and never shows a partial file
    kCreateThenRename,  // claim an empty file with O_EXCL, then rename over it
};
// CreateBitmapFileExclusive with the method chosen; the public function uses
// kLink and falls back to kCreateThenRename where the file system has no hard
// links. Exposed for the tests.
SaveResult CreateBitmapFileExclusive(const std::filesystem::path& target,
                                     std::span<const ByteSpan> parts, ClaimMethod method);
}  // namespace detail

}  // namespace qm71
