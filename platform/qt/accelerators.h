#pragma once

#include <Qt>

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

// A key event as the accelerator tables name keys: the virtual key (0 when no
// table can name it) and the modifiers held. The digit keys '0'..'9' are the
// keys of the digit row, whatever character the keyboard layout puts on them
// (a French layout gives "&" for Ctrl+1), as virtual keys are; where the
// platform names the physical key, the digits of the keypad are not those keys.
struct KeyPress {
    std::uint16_t key = 0;
    std::uint8_t modifiers = kModNone;
};
KeyPress KeyOf(const QKeyEvent& event, NativeKeys native = NativeKeysOfPlatform());
// Qt's modifiers as the tables name them.
std::uint8_t ModifiersOf(Qt::KeyboardModifiers m);

}  // namespace qm71
