#include "compose/settings_choice.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/win32/win32_profile_store.h"

namespace qm71 {

std::unique_ptr<ProfileStore> MakeSettingsStore(std::string_view fileName, const char* configDir) {
    if (configDir == nullptr || *configDir == '\0')
        return std::make_unique<Win32ProfileStore>(std::string(fileName));
    // A full path: the system may look for a relative one in the Windows folder.
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::absolute(configDir, ec);
    if (ec) folder = configDir;
    return std::make_unique<Win32ProfileStore>((folder / fileName).string());
}

}  // namespace qm71
