#include "common/profile_keys.h"

#include <algorithm>

namespace qm71 {

int ReadExtent(ProfileStore& store, const char* key, int defaultValue, int screen) {
    int value = ReadKey(store, key, defaultValue);
    if (value <= 0) value = defaultValue;
    return std::min(value, screen);
}

namespace {

// The colouring keys both settings files hold, in the order they are read,
// and the values each may take.
struct ColouringKey {
    const char* key;
    int ColouringSettings::*field;
    KeyRange range;
};
constexpr ColouringKey kColouringKeys[] = {
    {"LUT", &ColouringSettings::lut, Within<0, 2>},  // normal, inverse, threshold
    // Start and width of the middle band: the colours dialog stores what is
    // typed, and the lookup holds any value to 0..256.
    {"THRESH", &ColouringSettings::thresh, AnyValue},
    {"MITTE", &ColouringSettings::mitte, AnyValue},
    {"VG", &ColouringSettings::vg, IsColourIndex},  // one of the twenty colours
    {"MG", &ColouringSettings::mg, IsColourIndex},
    {"BG", &ColouringSettings::bg, IsColourIndex},
};

}  // namespace

void ReadColouring(ProfileStore& store, ColouringSettings& c) {
    for (const auto& [key, field, range] : kColouringKeys)
        c.*field = ReadKey(store, key, c.*field, range);
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
