#include "linedemo/core/numbered_bitmap.h"

#include <cstdio>
#include <system_error>

#include "common/bmp_file.h"

namespace qm71 {

std::string NumberedBitmapName(int number) {
    char name[24];
    std::snprintf(name, sizeof name, "%08d.bmp", number);
    return name;
}

bool NameExists(const std::filesystem::path& path) {
    std::error_code error;
    // A dangling symbolic link takes its name too.
    return std::filesystem::symlink_status(path, error).type() !=
           std::filesystem::file_type::not_found;
}

std::filesystem::path SaveNumberedBitmap(const std::filesystem::path& folder, int& number,
                                         std::span<const std::byte> block, Operator& op,
                                         const NameTaken& taken) {
    std::filesystem::path saved;
    std::string failure;
    {
        WaitCursor wait(op);
        while (saved.empty() && failure.empty()) {
            if (number >= kLargestBitmapNumber) {
                failure = kNoBitmapNumberLeftMessage;
                break;
            }
            ++number;
            const std::filesystem::path target = folder / NumberedBitmapName(number);
            // The check saves writing the picture for every name already used;
            // the exclusive create is what really keeps a file from being
            // overwritten.
            if (taken(target)) continue;
            const WriteResult result = WriteBitmapBlock(target, block, WriteMode::kCreateNew);
            if (result.ok())
                saved = target;
            else if (result.status != WriteStatus::kNameTaken)
                failure = SaveFailureMessage(target, result);
        }
    }
    // The box comes after the wait cursor is gone.
    if (!failure.empty()) op.Message(failure);
    return saved;
}

}  // namespace qm71
