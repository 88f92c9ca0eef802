#include "platform/qt/accelerators.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace qm71 {

namespace {

bool IsDigit(int key) {
    return key >= Qt::Key_0 && key <= Qt::Key_9;
}

// The virtual key of a Qt key; 0 when no table can name it.
std::uint16_t VirtualKeyOf(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || IsDigit(key))
        return static_cast<std::uint16_t>(key);  // same codes as the characters
    switch (key) {
        case Qt::Key_PageUp:
            return kKeyPrior;
        case Qt::Key_PageDown:
            return kKeyNext;
        case Qt::Key_Up:
            return kKeyUp;
        case Qt::Key_Down:
            return kKeyDown;
        case Qt::Key_Alt:
            return kKeyMenu;
        default:
            if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
                return static_cast<std::uint16_t>(kKeyF1 + (key - Qt::Key_F1));
            return 0;
    }
}

// The digit-row key as a virtual key '0'..'9'; 0 for a key known to be
// elsewhere; -1 when the event does not say which key it was (synthetic
// events carry no native codes).
int DigitRowKey(const QKeyEvent& event, NativeKeys native) {
    switch (native) {
        case NativeKeys::kXkb: {
            // xkb keycodes 10..19 are the keys of 1..9 and 0 on every layout.
            const quint32 code = event.nativeScanCode();
            if (code == 0) return -1;
            if (code < 10 || code > 19) return 0;
            return code == 19 ? '0' : static_cast<int>('1' + (code - 10));
        }
        case NativeKeys::kWindows: {
            const quint32 vk = event.nativeVirtualKey();
            if (vk == 0) return -1;
            return vk >= '0' && vk <= '9' ? static_cast<int>(vk) : 0;
        }
        case NativeKeys::kNone:
            break;
    }
    return -1;
}

std::uint16_t VirtualKeyOf(const QKeyEvent& event, NativeKeys native) {
    const int digit = DigitRowKey(event, native);
    if (digit > 0) return static_cast<std::uint16_t>(digit);
    if (digit == 0 && IsDigit(event.key())) return 0;
    return VirtualKeyOf(event.key());
}

}  // namespace

NativeKeys NativeKeysOfPlatform() {
    const QString platform = QGuiApplication::platformName();
    if (platform == u"xcb" || platform.startsWith(u"wayland")) return NativeKeys::kXkb;
    if (platform == u"windows") return NativeKeys::kWindows;
    return NativeKeys::kNone;
}

KeyPress KeyOf(const QKeyEvent& event, NativeKeys native) {
    return {VirtualKeyOf(event, native), ModifiersOf(event.modifiers())};
}

std::uint8_t ModifiersOf(Qt::KeyboardModifiers m) {
    std::uint8_t held = kModNone;
    if (m & Qt::ShiftModifier) held |= kModShift;
    if (m & Qt::ControlModifier) held |= kModControl;
    if (m & Qt::AltModifier) held |= kModAlt;
    return held;
}

}  // namespace qm71
