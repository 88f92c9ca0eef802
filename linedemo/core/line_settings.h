#pragma once

#include <optional>

#include "common/colour_table.h"
#include "platform/profile_store.h"
#include "platform/window_host.h"

namespace qm71 {

inline constexpr const char* kLineSettingsFile = "lcam71.ini";

// The seven display values of the line demo's main window.
struct LineDisplaySettings {
    ColouringSettings colouring;  // LUT, THRESH, MITTE, VG, MG, BG
    int scale = 0;                // SCALE, 0..5 (1:8 ... 4:1)
};

// The keys of lcam71.ini, section CONFIG. Read at two moments of the start-up,
// written once, when the main window goes away. What each may hold; a value
// outside that is read as the key's default (in brackets):
//   LUT      0..2 (0)                   VG, MG, BG  0..9, 246..255 (255, 8, 0)
//   THRESH   any (128)                  SCALE       0..5 (0)
//   MITTE    any (10)                   TRIG        any; not 0 is on (0)
//   B, H     1.., cut to the screen (5000, 640)
//   X, Y     any; the window's far edge is kept inside int (centred)
//   ZEILE, SPALTE, BASIS  written only
struct LineSettings {
    LineDisplaySettings display;
    bool trigger = false;  // TRIG: software-trigger mode
    Rect window;           // X, Y, B, H

    // Before the card is configured: LUT, THRESH, MITTE, VG, MG, BG, SCALE,
    // TRIG in this order.
    void ReadDisplay(ProfileStore& store);

    // When the screen size is known: B, H, X, Y. Width and height are at most
    // the screen's; a stored size of zero or less is taken as missing. X and Y
    // default to centring the whole 5000 x 640 image, which starts the window
    // off the screen's left edge on any smaller screen; the window's move
    // handling brings it back.
    void ReadWindowPlacement(ProfileStore& store, int screenWidth, int screenHeight);

    // ZEILE, SPALTE, X, Y, B, H, LUT, BASIS, SCALE, THRESH, MITTE, VG, MG, BG,
    // TRIG in this order; TRIG as 0 or 1. Every key is tried; what the first
    // write that failed gave as its reason comes back.
    std::optional<ProfileStore::WriteFailure> Write(ProfileStore& store, int cardBase) const;
};

}  // namespace qm71
