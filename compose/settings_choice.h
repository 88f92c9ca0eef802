#pragma once

#include <cstdlib>
#include <memory>
#include <string_view>

#include "platform/profile_store.h"

namespace qm71 {

// The settings file `fileName` ("qm71.ini", "lcam71.ini") in the folder
// `configDir` names. When that is null or empty, the platform's place: on
// Linux the folder ConfigDirectory() gives, on Windows the bare name, which
// the system's profile functions keep in the Windows folder.
std::unique_ptr<ProfileStore> MakeSettingsStore(std::string_view fileName, const char* configDir);

// The same in the folder QM71_CONFIG_DIR names.
inline std::unique_ptr<ProfileStore> MakeSettingsStore(std::string_view fileName) {
    return MakeSettingsStore(fileName, std::getenv("QM71_CONFIG_DIR"));
}

}  // namespace qm71
