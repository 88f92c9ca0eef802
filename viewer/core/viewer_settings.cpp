#include "viewer/core/viewer_settings.h"

#include <algorithm>
#include <string>

#include "common/profile_keys.h"
#include "viewer/core/display_image.h"
#include "viewer/core/window_geometry.h"

namespace qm71 {

void ViewerSettings::ReadDisplay(ProfileStore& store) {
    ReadColouring(store, display.colouring);
    display.scale = ReadKey(store, "SCALE", display.scale) & 3;
}

void ViewerSettings::ReadWindowPlacement(ProfileStore& store, int screenWidth, int screenHeight) {
    const int width = ReadExtent(store, "B", DisplayImage::kWidth, screenWidth);
    const int height = ReadExtent(store, "H", DisplayImage::kHeight, screenHeight);
    // The halving rounds toward minus infinity.
    const int x = ReadKey(store, "X", std::max(0, (width - DisplayImage::kWidth) >> 1));
    const int y = ReadKey(store, "Y", std::max(0, (height - DisplayImage::kHeight) >> 1));
    window = RectAt(x, y, width, height);
}

std::optional<ProfileStore::WriteFailure> ViewerSettings::Write(ProfileStore& store) const {
    const ColouringSettings& c = display.colouring;
    const SettingsKey values[] = {
        {"X", window.left},     {"Y", window.top},  {"B", window.Width()},
        {"H", window.Height()}, {"LUT", c.lut},     {"SCALE", display.scale & 3},
        {"THRESH", c.thresh},   {"MITTE", c.mitte}, {"VG", c.vg},
        {"MG", c.mg},           {"BG", c.bg},
    };
    return WriteKeys(store, values);
}

}  // namespace qm71
