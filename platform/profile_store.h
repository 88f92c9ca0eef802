#pragma once

#include <string>
#include <string_view>

namespace qm71 {

// Private-profile settings: integer keys in named sections of one file.
// A missing file, section or key reads as the default; a write creates what is
// missing and keeps everything else in the file as it was.
class ProfileStore {
  public:
    virtual ~ProfileStore() = default;
    virtual int GetInt(std::string_view section, std::string_view key, int defaultValue) = 0;
    // Returns false when the file could not be written.
    virtual bool WriteString(std::string_view section, std::string_view key,
                             std::string_view value) = 0;

    // Where the settings live and why the last failed write failed, in the
    // system's words ("Permission denied"); the reason is empty after a write
    // that worked.
    struct WriteFailure {
        std::string folder;
        std::string reason;
    };
    virtual WriteFailure LastWriteFailure() const = 0;
};

}  // namespace qm71
