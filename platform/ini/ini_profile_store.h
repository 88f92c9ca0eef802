#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/profile_store.h"

namespace qm71 {

// Settings kept in one private-profile text file (see profile_text.h for the
// format and the integer rule). The file is read anew on every call, so it
// may be edited between calls.
//
// GetInt gives the default when the file, the section or the key is missing,
// when the file cannot be read, or when the key's value is empty.
//
// WriteString changes only the one value (or adds the key or section) and
// keeps every other byte of the file. It creates the file and its missing
// folders and writes the whole new text with WriteWholeFile, so the settings
// file is the old one or the new one, a symbolic link to it stays a link and
// the file keeps its mode. It returns false, leaving the old file as it was,
// when anything fails, when an existing file cannot be read, or when the
// section, key or value cannot be stored (line breaks, a key with '=', ...);
// LastWriteFailure then names the folder the file is in (links followed) and
// the reason.
class IniProfileStore final : public ProfileStore {
  public:
    explicit IniProfileStore(std::filesystem::path file);

    int GetInt(std::string_view section, std::string_view key, int defaultValue) override;
    bool WriteString(std::string_view section, std::string_view key,
                     std::string_view value) override;
    WriteFailure LastWriteFailure() const override;

  private:
    // The reason the write failed; empty when it worked.
    std::string Write(std::string_view section, std::string_view key, std::string_view value);

    std::filesystem::path file_;
    std::string writeError_;
};

// The folder of the settings files: $QM71_CONFIG_DIR when set and not empty,
// else $XDG_CONFIG_HOME/qm71 when that is set and not empty, else
// $HOME/.config/qm71, and the current directory when HOME is not set either.
// The folder is not created here; the first write does that.
std::filesystem::path ConfigDirectory();

}  // namespace qm71
