#include "common/profile_keys.h"

#include <algorithm>

namespace qm71 {

int ReadExtent(ProfileStore& store, const char* key, int defaultValue, int screen) {
    int value = ReadKey(store, key, defaultValue);
    if (value <= 0) value = defaultValue;
    return std::min(value, screen);
}

void ReadColouring(ProfileStore& store, ColouringSettings& c) {
    c.lut = ReadKey(store, "LUT", c.lut);
    c.thresh = ReadKey(store, "THRESH", c.thresh);
    c.mitte = ReadKey(store, "MITTE", c.mitte);
    c.vg = ReadKey(store, "VG", c.vg);
    c.mg = ReadKey(store, "MG", c.mg);
    c.bg = ReadKey(store, "BG", c.bg);
}

std::optional<ProfileStore::WriteFailure> WriteKeys(ProfileStore& store,
                                                    std::span<const SettingsKey> keys) {
    std::optional<ProfileStore::WriteFailure> failure;
    for (const auto& [key, value] : keys)
        if (!store.WriteString(kSettingsSection, key, std::to_string(value)) && !failure)
            failure = store.LastWriteFailure();
    return failure;
}

std::string SettingsNotWrittenMessage(std::string_view file,
                                      const ProfileStore::WriteFailure& failure) {
    std::string text = "Die Einstellungen (" + std::string(file) + ") konnten nicht";
    if (!failure.folder.empty()) text += " in " + failure.folder;
    text += " gespeichert werden";
    if (!failure.reason.empty()) text += ": " + failure.reason;
    return text;
}

}  // namespace qm71
