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
// written once, when the main window goes away.
struct LineSettings {
    LineDisplaySettings display;
    bool trigger = false;  // TRIG: software-trigger mode
    Rect window;           // X, Y, B, H

    // Before the card is configured: LUT, THRESH, MITTE, VG, MG, BG, SCALE,
    // TRIG in this order. A SCALE outside 0..5 is taken as 0 (1:8); any TRIG
    // but 0 is on. Colour indices and the threshold band are taken as read:
    // the colour table copes with any of them.
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
