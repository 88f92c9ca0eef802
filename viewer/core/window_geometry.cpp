#include "viewer/core/window_geometry.h"

namespace qm71 {

Fit FitToScale(int scale, const Rect& client, const Rect& window) {
    Fit f{client, window, 0, 0, false};
    const int maxW = MaxClientWidth(scale);
    const int maxH = MaxClientHeight(scale);
    if (f.client.right > maxW) {
        f.window.right -= f.client.right - maxW;
        f.client.right = maxW;
        f.changed = true;
    }
    if (f.client.bottom > maxH) {
        f.window.bottom -= f.client.bottom - maxH;
        f.client.bottom = maxH;
        f.changed = true;
    }
    if (scale == 3) {
        if (f.client.right & 1) {
            --f.window.right;
            --f.client.right;
            f.changed = true;
        }
        if (f.client.bottom & 1) {
            --f.window.bottom;
            --f.client.bottom;
            f.changed = true;
        }
    }
    f.sourceWidth = SourceExtent(f.client.right, scale);
    f.sourceHeight = SourceExtent(f.client.bottom, scale);
    return f;
}

namespace {
// One axis of ResizeForScale.
void FitAxis(int& low, int& high, int nominal, int screen) {
    if (nominal < screen) {
        high = low + nominal;
        if (high > screen) {
            high = screen;
            low = screen - nominal;
        }
    } else {
        low = 0;
        high = screen;
    }
}
}  // namespace

Rect ResizeForScale(int scale, const Rect& window, int screenWidth, int screenHeight) {
    Rect r = window;
    FitAxis(r.left, r.right, NominalWidth(scale), screenWidth);
    FitAxis(r.top, r.bottom, NominalHeight(scale), screenHeight);
    return r;
}

}  // namespace qm71
