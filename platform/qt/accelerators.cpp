#include "platform/qt/accelerators.h"

#include <QKeyEvent>

namespace qm71 {

namespace {
// The virtual key of a Qt key; 0 when no table can name it.
std::uint16_t VirtualKeyOf(int key) {
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<std::uint16_t>(key);  // same codes as the characters
    switch (key) {
        case Qt::Key_PageUp:
            return VK_PRIOR;
        case Qt::Key_PageDown:
            return VK_NEXT;
        case Qt::Key_Up:
            return VK_UP;
        case Qt::Key_Down:
            return VK_DOWN;
        case Qt::Key_F1:
            return VK_F1;
        case Qt::Key_F5:
            return VK_F5;
        default:
            return 0;
    }
}
}  // namespace

int TranslateAccelerator(const QKeyEvent& event, std::span<const Accelerator> table) {
    const std::uint16_t key = VirtualKeyOf(event.key());
    if (key == 0) return 0;
    const Qt::KeyboardModifiers m = event.modifiers();
    std::uint8_t held = MOD_NONE;
    if (m & Qt::ShiftModifier) held |= MOD_SHIFT;
    if (m & Qt::ControlModifier) held |= MOD_CONTROL;
    if (m & Qt::AltModifier) held |= MOD_ALT;
    for (const Accelerator& a : table)
        if (a.key == key && a.modifiers == held) return a.command;
    return 0;
}

}  // namespace qm71
