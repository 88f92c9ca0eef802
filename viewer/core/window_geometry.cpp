#include "viewer/core/window_geometry.h"

namespace qm71 {

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
    return SizeOnScreen(window, NominalWidth(scale), NominalHeight(scale), screenWidth,
                        screenHeight);
}

}  // namespace qm71
