#include "linedemo/core/line_settings.h"

#include "common/profile_keys.h"
#include "common/window_rect.h"
#include "linedemo/core/line_geometry.h"

namespace qm71 {

void LineSettings::ReadDisplay(ProfileStore& store) {
    ReadColouring(store, display.colouring);
    display.scale = ReadKey(store, "SCALE", 0, Within<0, kLineScales - 1>);
    trigger = ReadKey(store, "TRIG", 0) != 0;
}

void LineSettings::ReadWindowPlacement(ProfileStore& store, int screenWidth, int screenHeight) {
    const int width = ReadExtent(store, "B", kLineWidth, screenWidth);
    const int height = ReadExtent(store, "H", kLineCount, screenHeight);
    // The halving rounds toward minus infinity.
    const int x = ReadKey(store, "X", (width - kLineWidth) >> 1);
    const int y = ReadKey(store, "Y", (height - kLineCount) >> 1);
    window = RectAt(x, y, width, height);
}

std::optional<ProfileStore::WriteFailure> LineSettings::Write(ProfileStore& store,
                                                              int cardBase) const {
    const ColouringSettings& c = display.colouring;
    const SettingsKey values[] = {
        {"ZEILE", kLineWidth}, {"SPALTE", kLineCount}, {"X", window.left},
        {"Y", window.top},     {"B", window.Width()},  {"H", window.Height()},
        {"LUT", c.lut},        {"BASIS", cardBase},    {"SCALE", ValidLineScale(display.scale)},
        {"THRESH", c.thresh},  {"MITTE", c.mitte},     {"VG", c.vg},
        {"MG", c.mg},          {"BG", c.bg},           {"TRIG", trigger ? 1 : 0},
    };
    return WriteKeys(store, values);
}

}  // namespace qm71
