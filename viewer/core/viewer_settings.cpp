#include "viewer/core/viewer_settings.h"

#include <algorithm>
#include <string>

#include "viewer/core/display_image.h"
#include "viewer/core/window_geometry.h"

namespace qm71 {

namespace {
int Get(ProfileStore& store, const char* key, int defaultValue) {
    return store.GetInt(kSettingsSection, key, defaultValue);
}

// B and H: the smaller of the stored size and the screen's.
int ReadExtent(ProfileStore& store, const char* key, int defaultValue, int screen) {
    int value = Get(store, key, defaultValue);
    if (value <= 0) value = defaultValue;
    return std::min(value, screen);
}
}  // namespace

void ViewerSettings::ReadDisplay(ProfileStore& store) {
    ColouringSettings& c = display.colouring;
    c.lut = Get(store, "LUT", c.lut);
    c.thresh = Get(store, "THRESH", c.thresh);
    c.mitte = Get(store, "MITTE", c.mitte);
    c.vg = Get(store, "VG", c.vg);
    c.mg = Get(store, "MG", c.mg);
    c.bg = Get(store, "BG", c.bg);
    display.scale = Get(store, "SCALE", display.scale) & 3;
}

void ViewerSettings::ReadWindowPlacement(ProfileStore& store, int screenWidth, int screenHeight) {
    const int width = ReadExtent(store, "B", DisplayImage::kWidth, screenWidth);
    const int height = ReadExtent(store, "H", DisplayImage::kHeight, screenHeight);
    // The halving rounds toward minus infinity.
    const int x = Get(store, "X", std::max(0, (width - DisplayImage::kWidth) >> 1));
    const int y = Get(store, "Y", std::max(0, (height - DisplayImage::kHeight) >> 1));
    window = RectAt(x, y, width, height);
}

std::optional<ProfileStore::WriteFailure> ViewerSettings::Write(ProfileStore& store) const {
    const ColouringSettings& c = display.colouring;
    const std::pair<const char*, int> values[] = {
        {"X", window.left},     {"Y", window.top},  {"B", window.Width()},
        {"H", window.Height()}, {"LUT", c.lut},     {"SCALE", display.scale & 3},
        {"THRESH", c.thresh},   {"MITTE", c.mitte}, {"VG", c.vg},
        {"MG", c.mg},           {"BG", c.bg},
    };
    std::optional<ProfileStore::WriteFailure> failure;
    for (const auto& [key, value] : values)
        if (!store.WriteString(kSettingsSection, key, std::to_string(value)) && !failure)
            failure = store.LastWriteFailure();
    return failure;
}

}  // namespace qm71
