#include "common/window_drag.h"

#include <cstdint>

#include "common/window_rect.h"

namespace qm71 {

std::optional<Rect> WindowDrag::Move(Point screen, bool leftHeld, const Rect& window) {
    if (!leftHeld) {
        active_ = false;
        return std::nullopt;
    }
    if (!active_) return std::nullopt;
    const std::int64_t dx = std::int64_t{screen.x} - last_.x;
    const std::int64_t dy = std::int64_t{screen.y} - last_.y;
    if (dx == 0 && dy == 0) return std::nullopt;
    last_ = screen;
    return Offset(window, dx, dy);
}

}  // namespace qm71
