#pragma once

#include <optional>

#include "common/colour_table.h"
#include "common/profile_keys.h"
#include "platform/profile_store.h"
#include "platform/window_host.h"

namespace qm71 {

inline constexpr const char* kViewerSettingsFile = "qm71.ini";

// The seven display values the main window keeps.
struct DisplaySettings {
    ColouringSettings colouring;  // LUT, THRESH, MITTE, VG, MG, BG
    int scale = 0;                // SCALE, 0..3
};

// The eleven keys of qm71.ini, section CONFIG. They are read at two moments of
// the start-up and written once, when the main window goes away. What each
// may hold; a value outside that is read as the key's default (in brackets):
//   LUT      0..2 (0)                   VG, MG, BG  0..9, 246..255 (255, 8, 0)
//   THRESH   any (128)                  SCALE       any, masked to 0..3 (0)
//   MITTE    any (10)
//   B, H     1.., cut to the screen (3072, 2056)
//   X, Y     any; the window's far edge is kept inside int (centred)
struct ViewerSettings {
    Rect window;              // X, Y, B, H: where the window is
    DisplaySettings display;  // LUT, SCALE, THRESH, MITTE, VG, MG, BG

    // While the program is constructed, before any window: LUT, THRESH, MITTE,
    // VG, MG, BG, SCALE in this order; SCALE is masked to 0..3.
    void ReadDisplay(ProfileStore& store);

    // When the window is created: B, H, X, Y. Width and height are at most the
    // screen's; a stored size of zero or less is taken as missing. The X and Y
    // defaults centre a full-size picture and are pulled back to 0 when that
    // would start off the screen; stored X and Y are used as they are, moved
    // back only as far as the window's far edge needs to stay inside int.
    void ReadWindowPlacement(ProfileStore& store, int screenWidth, int screenHeight);

    // X, Y, B, H, LUT, SCALE, THRESH, MITTE, VG, MG, BG in this order; SCALE
    // masked. Every key is tried; what the first write that failed gave as its
    // reason comes back.
    std::optional<ProfileStore::WriteFailure> Write(ProfileStore& store) const;
};

}  // namespace qm71
