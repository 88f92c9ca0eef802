#include "common/window_rect.h"

#include <algorithm>
#include <limits>

namespace qm71 {

namespace {
constexpr std::int64_t kIntMin = std::numeric_limits<int>::min();
constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();

// One axis of RectAt: the far edge is kept inside int by moving both edges.
void PlaceAxis(int start, int extent, int& low, int& high) {
    const std::int64_t end = std::int64_t{start} + extent;
    const std::int64_t shift = end > kIntMax ? kIntMax - end : end < kIntMin ? kIntMin - end : 0;
    low = Held(start + shift);
    high = Held(end + shift);
}

// One axis of Offset: the move is held so that neither edge leaves int.
std::int64_t HeldMove(std::int64_t d, int a, int b) {
    return std::clamp(d, kIntMin - std::min(a, b), kIntMax - std::max(a, b));
}

// One axis of SizeOnScreen.
void FitAxis(int& low, int& high, int nominal, int screen) {
    if (nominal < screen) {
        const std::int64_t end = std::int64_t{low} + nominal;
        if (end > screen) {
            high = screen;
            low = screen - nominal;
        } else {
            high = static_cast<int>(end);
        }
    } else {
        low = 0;
        high = screen;
    }
}
}  // namespace

int Held(std::int64_t v) {
    return static_cast<int>(std::clamp(v, kIntMin, kIntMax));
}

Rect RectAt(int left, int top, int width, int height) {
    Rect r;
    PlaceAxis(left, width, r.left, r.right);
    PlaceAxis(top, height, r.top, r.bottom);
    return r;
}

Rect Offset(const Rect& r, std::int64_t dx, std::int64_t dy) {
    dx = HeldMove(dx, r.left, r.right);
    dy = HeldMove(dy, r.top, r.bottom);
    return {static_cast<int>(r.left + dx), static_cast<int>(r.top + dy),
            static_cast<int>(r.right + dx), static_cast<int>(r.bottom + dy)};
}

Rect SizeOnScreen(const Rect& window, int width, int height, int screenWidth, int screenHeight) {
    Rect r = window;
    FitAxis(r.left, r.right, width, screenWidth);
    FitAxis(r.top, r.bottom, height, screenHeight);
    return r;
}

}  // namespace qm71
