#include "viewer/core/window_geometry.h"

#include <algorithm>
#include <limits>

namespace qm71 {

namespace {
constexpr std::int64_t kIntMin = std::numeric_limits<int>::min();
constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();

int Held(std::int64_t v) {
    return static_cast<int>(std::clamp(v, kIntMin, kIntMax));
}

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

// One axis of ResizeForScale.
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

Fit FitToScale(int scale, const Rect& client, const Rect& window) {
    Fit f{client, window, 0, 0, false};
    const int maxW = MaxClientWidth(scale);
    const int maxH = MaxClientHeight(scale);
    // How far the window's right or bottom edge comes in.
    auto shrink = [&f](int& edge, int& clientEdge, int to) {
        edge = Held(std::int64_t{edge} - (std::int64_t{clientEdge} - to));
        clientEdge = to;
        f.changed = true;
    };
    if (f.client.right > maxW) shrink(f.window.right, f.client.right, maxW);
    if (f.client.bottom > maxH) shrink(f.window.bottom, f.client.bottom, maxH);
    if (scale == 3) {
        if (f.client.right & 1) shrink(f.window.right, f.client.right, f.client.right - 1);
        if (f.client.bottom & 1) shrink(f.window.bottom, f.client.bottom, f.client.bottom - 1);
    }
    f.sourceWidth = SourceExtent(f.client.right, scale);
    f.sourceHeight = SourceExtent(f.client.bottom, scale);
    return f;
}

Rect ResizeForScale(int scale, const Rect& window, int screenWidth, int screenHeight) {
    Rect r = window;
    FitAxis(r.left, r.right, NominalWidth(scale), screenWidth);
    FitAxis(r.top, r.bottom, NominalHeight(scale), screenHeight);
    return r;
}

}  // namespace qm71
