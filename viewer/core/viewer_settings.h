#pragma once

#include "common/colour_table.h"
#include "platform/profile_store.h"
#include "platform/window_host.h"

namespace qm71 {

inline constexpr const char* kViewerSettingsFile = "qm71.ini";
inline constexpr const char* kSettingsSection = "CONFIG";

// The display part of the viewer's settings, kept by the main window.
struct DisplaySettings {
    ColouringSettings colouring;  // LUT, THRESH, MITTE, VG, MG, BG
    int scale = 0;                // SCALE, 0..3
};

// Read while the program is constructed, before any window: LUT, THRESH, MITTE,
// VG, MG, BG, SCALE in this order; SCALE is masked to 0..3.
DisplaySettings ReadDisplaySettings(ProfileStore& store);

// Where the main window first appears, from B, H, X and Y and the screen size.
// Width and height are at most the screen's; a stored size of zero or less is
// taken as missing. The X and Y defaults centre a full-size picture and are
// pulled back to 0 when that would start off the screen; stored X and Y are
// used as they are.
Rect ReadWindowPlacement(ProfileStore& store, int screenWidth, int screenHeight);

// Written once when the main window goes away: X, Y, B, H, LUT, SCALE, THRESH,
// MITTE, VG, MG, BG in this order. False when the file could not be written.
bool WriteViewerSettings(ProfileStore& store, const Rect& window, const DisplaySettings& display);

}  // namespace qm71
