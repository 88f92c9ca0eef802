#pragma once

#include <span>

#include "platform/accelerator.h"

class QKeyEvent;

namespace qm71 {

// What a platform's key events tell of the physical key, beside the character.
enum class NativeKeys {
    kNone,     // nothing known (offscreen): the key's character decides
    kXkb,      // X11 and Wayland: the native scan code is the xkb keycode
    kWindows,  // the native virtual key is the Windows virtual-key code
};

// What the running platform's key events carry.
NativeKeys NativeKeysOfPlatform();

// The command an accelerator table gives a key press, or 0 when none. The
// digit keys '0'..'9' are the keys of the digit row, whatever character the
// keyboard layout puts on them (a French layout gives "&" for Ctrl+1), as
// virtual keys are; where the platform names the physical key, the digits of
// the keypad are not those keys.
int TranslateAccelerator(const QKeyEvent& event, std::span<const Accelerator> table,
                         NativeKeys native = NativeKeysOfPlatform());

}  // namespace qm71
