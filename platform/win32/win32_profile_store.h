#pragma once

#include <string>
#include <string_view>

#include "platform/profile_store.h"

namespace qm71 {

// Settings through the system's private-profile functions
// (GetPrivateProfileIntA, WritePrivateProfileStringA). The file name is given
// to them as it is: a bare name such as "qm71.ini" is the file of that name
// in the Windows folder, a path names its file.
//
// WriteString refuses, as IniProfileStore does, a section, key or value that
// would not read back (a line break in a value would write a line of its own
// into the file); otherwise the system decides. After a failed write
// LastWriteFailure names the folder the system writes to and the system's
// message for the error.
class Win32ProfileStore final : public ProfileStore {
  public:
    explicit Win32ProfileStore(std::string file);

    int GetInt(std::string_view section, std::string_view key, int defaultValue) override;
    bool WriteString(std::string_view section, std::string_view key,
                     std::string_view value) override;
    WriteFailure LastWriteFailure() const override;

  private:
    std::string file_;
    std::string writeError_;
};

}  // namespace qm71
