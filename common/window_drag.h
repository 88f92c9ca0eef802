#pragma once

#include <optional>

#include "platform/window_host.h"

namespace qm71 {

// Dragging a window by its picture with the left button, in screen
// coordinates. A move with the button released ends the drag (the release may
// have happened outside the window).
class WindowDrag {
  public:
    void Begin(Point screen) {
        active_ = true;
        last_ = screen;
    }
    // Where the window goes for this pointer move, or nothing to do.
    std::optional<Rect> Move(Point screen, bool leftHeld, const Rect& window);
    void End() { active_ = false; }
    bool Active() const { return active_; }

  private:
    bool active_ = false;
    Point last_{};
};

}  // namespace qm71
