#include "compose/settings_choice.h"

#include <filesystem>

#include "platform/ini/ini_profile_store.h"

namespace qm71 {

std::unique_ptr<ProfileStore> MakeSettingsStore(std::string_view fileName, const char* configDir) {
    const std::filesystem::path folder =
        configDir != nullptr && *configDir != '\0' ? configDir : ConfigDirectory();
    return std::make_unique<IniProfileStore>(folder / fileName);
}

}  // namespace qm71
