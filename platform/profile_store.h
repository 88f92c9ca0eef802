#pragma once

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
};

}  // namespace qm71
