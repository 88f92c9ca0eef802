#include "platform/win32/win32_profile_store.h"

#include <windows.h>

#include <filesystem>
#include <utility>

#include "platform/ini/profile_text.h"
#include "platform/win32/system_message.h"

namespace qm71 {
namespace {

// The folder the profile functions keep `file` in: the Windows folder for a
// bare name, else the folder the path names.
std::string ProfileFolder(const std::string& file) {
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    if (!folder.empty()) return folder.string();
    char windows[MAX_PATH];
    const UINT n = GetWindowsDirectoryA(windows, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(windows, n) : std::string();
}

}  // namespace

Win32ProfileStore::Win32ProfileStore(std::string file) : file_(std::move(file)) {}

int Win32ProfileStore::GetInt(std::string_view section, std::string_view key, int defaultValue) {
    const UINT value = GetPrivateProfileIntA(std::string(section).c_str(), std::string(key).c_str(),
                                             defaultValue, file_.c_str());
    return static_cast<int>(value);
}

bool Win32ProfileStore::WriteString(std::string_view section, std::string_view key,
                                    std::string_view value) {
    if (!IsWritableProfileEntry(section, key, value)) {
        writeError_ = "the entry cannot be stored in a settings file";
        return false;
    }
    if (WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                   std::string(value).c_str(), file_.c_str())) {
        writeError_.clear();
        return true;
    }
    writeError_ = SystemMessage(GetLastError());
    return false;
}

ProfileStore::WriteFailure Win32ProfileStore::LastWriteFailure() const {
    return {ProfileFolder(file_), writeError_};
}

}  // namespace qm71
