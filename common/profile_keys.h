#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/colour_table.h"
#include "platform/profile_store.h"

namespace qm71 {

// Both programs keep their settings in section CONFIG of their own file.
inline constexpr const char* kSettingsSection = "CONFIG";

inline int ReadKey(ProfileStore& store, const char* key, int defaultValue) {
    return store.GetInt(kSettingsSection, key, defaultValue);
}

// The values a key may take. A stored value outside them would be used as an
// index, a size or a scale, so it is taken as the key's default.
using KeyRange = bool (*)(int value);
template <int Low, int High>
constexpr bool Within(int value) {
    return value >= Low && value <= High;
}
constexpr bool AnyValue(int) {
    return true;
}

// The key, or its default when it is missing or outside `range`.
inline int ReadKey(ProfileStore& store, const char* key, int defaultValue, KeyRange range) {
    const int value = ReadKey(store, key, defaultValue);
    return range(value) ? value : defaultValue;
}

// A window extent (B or H): the smaller of the stored size and the screen's; a
// stored size of zero or less counts as missing.
int ReadExtent(ProfileStore& store, const char* key, int defaultValue, int screen);

// LUT, THRESH, MITTE, VG, MG, BG in this order, each defaulting to what
// `colouring` holds (see kColouringKeys for what each may be).
void ReadColouring(ProfileStore& store, ColouringSettings& colouring);

struct SettingsKey {
    const char* key;
    int value;
};

// Writes the keys in the order given, each as a decimal integer. Every key is
// tried; what the first write that failed gave as its reason comes back.
std::optional<ProfileStore::WriteFailure> WriteKeys(ProfileStore& store,
                                                    std::span<const SettingsKey> keys);

// "Die Einstellungen (<file>) konnten nicht in <folder> gespeichert werden:
// <reason>": what the settings store says of the write that failed.
std::string SettingsNotWrittenMessage(std::string_view file,
                                      const ProfileStore::WriteFailure& failure);

}  // namespace qm71
