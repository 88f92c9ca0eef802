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

bool NameExists(const std::filesystem::path& path, std::error_code& error) {
    // A dangling symbolic link takes its name too.
    const auto type = std::filesystem::symlink_status(path, error).type();
    if (type != std::filesystem::file_type::not_found) return !error;
    error.clear();
    return false;
}

std::filesystem::path SaveNumberedBitmap(const std::filesystem::path& folder, int& number,
                                         std::span<const std::byte> block, Operator& op,
                                         const NameTaken& taken) {
    std::filesystem::path saved;
    std::string failure;
    const int first = number;
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
            std::error_code error;
            const bool inUse = taken(target, error);
            WriteResult result{WriteStatus::kFailed, error.message()};
            if (!error) {
                if (inUse) continue;
                result = WriteBitmapBlock(target, block, WriteMode::kCreateNew);
            }
            if (result.ok()) {
                saved = target;
            } else if (result.status != WriteStatus::kNameTaken) {
                failure = SaveFailureMessage(target, result);
                number = first;
            }
        }
    }
    // The box comes after the wait cursor is gone.
    if (!failure.empty()) op.Message(failure);
    return saved;
}

}  // namespace qm71
