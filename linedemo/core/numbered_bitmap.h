#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <system_error>

#include "platform/operator.h"

namespace qm71 {

// Numbered captures go up to 99999999.bmp, the largest number of eight places.
inline constexpr int kLargestBitmapNumber = 99999999;
inline constexpr const char* kNoBitmapNumberLeftMessage =
    "Keine freie Nummer für das Bild: alle Namen bis 99999999.bmp sind vergeben.";
inline constexpr const char* kNoImageToSaveMessage =
    "Kein Bild zum Speichern: der Speicher für das Bild fehlt.";

// "%08d.bmp" of `number`.
std::string NumberedBitmapName(int number);

// Whether a name is taken; the real file system unless a test says otherwise.
// When the folder cannot tell (no permission, an I/O error, a stale network
// folder), `error` says why; only "no such file" means the name is free.
using NameTaken = std::function<bool(const std::filesystem::path&, std::error_code& error)>;
bool NameExists(const std::filesystem::path& path, std::error_code& error);

// Saves the image block (info header, colour table, pixels) as the next free
// numbered BMP file in `folder` ("" = the working directory) and returns its
// path, or an empty path when nothing was saved. `number` is the last number
// tried; each name tried counts, so a run fills the gaps among earlier files
// first and never tries a name twice. A name is only claimed by an exclusive
// create, so a file that appeared after the check is never overwritten: the
// search goes on. The file is complete or not there at all. A failure, and the
// end of the numbers, are told to the operator once; the wait cursor shows
// while the file is written. A folder that cannot be searched, or a write that
// fails, ends the save at once and leaves `number` as it was, so the next save
// tries the same names again.
std::filesystem::path SaveNumberedBitmap(const std::filesystem::path& folder, int& number,
                                         std::span<const std::byte> block, Operator& op,
                                         const NameTaken& taken = NameExists);

}  // namespace qm71
