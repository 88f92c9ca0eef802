#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>

// Writing a whole file so that readers see the old file or the new one, never
// a part: the settings files, every saved bitmap and the numbered captures.
namespace qm71 {

enum class WriteStatus {
    kWritten,    // the file is complete under its name
    kNameTaken,  // kCreateNew only: something has that name already; nothing was written
    kFailed,     // an existing file is as it was; `reason` says why
};

struct WriteResult {
    WriteStatus status = WriteStatus::kFailed;
    // Why it failed, in the system's words ("No space left on device"); empty
    // when the file was written.
    std::string reason;

    bool ok() const { return status == WriteStatus::kWritten; }
};

enum class WriteMode {
    // The file gets the new bytes, whether it existed or not.
    kReplace,
    // Only a name nobody uses is taken (a dangling symbolic link counts as
    // used), so an existing file is never overwritten. The caller tries the
    // next name on kNameTaken.
    kCreateNew,
};

using ByteSpan = std::span<const std::byte>;

// Writes `parts` one after another as the whole content of `target`.
//
// The bytes go to a hidden temporary file beside the file, are flushed to the
// disk and then given the name: by rename (kReplace) or by a hard link, which
// fails when the name is taken (kCreateNew; where the file system has no hard
// links the name is first claimed with an empty file). On any failure the
// temporary file is removed.
//
// kReplace changes the file, not the name's surroundings:
//   - a symbolic link (also a chain of them) is followed and the file it ends
//     at is written; a dangling link creates that file; the links stay;
//   - the new file gets the old one's permission bits, and its owner and group
//     where the system lets us (an ordinary user cannot give a file away);
//   - a file with more than one hard link is overwritten in place: whoever
//     linked it wants every name to show the same content, which a rename
//     would split;
//   - a writable file in a folder we may not write to (no temporary file can
//     be made there) is overwritten in place as well.
// Overwriting in place starts with the whole content in memory and reserves
// the disk space first, so a full disk is found before the old bytes are
// touched. It cannot promise all or nothing: a crash or a failing disk in the
// middle of the write leaves a mixed file, and other names of the file see the
// change at once.
//
// On Windows a new name is always claimed with an empty file first. kReplace
// keeps the file's attributes, security and creation time (ReplaceFileW); it
// refuses a read-only file and a folder closed to us with the system's reason,
// overwrites nothing in place, and replaces a symbolic link as a name.
WriteResult WriteWholeFile(const std::filesystem::path& target, std::span<const ByteSpan> parts,
                           WriteMode mode);

// The file a write to `target` changes: symbolic links followed to their end,
// also to a file that does not exist yet. `target` itself when it is no link
// or the links cannot be read, and always on Windows.
std::filesystem::path WrittenFile(const std::filesystem::path& target);

}  // namespace qm71
