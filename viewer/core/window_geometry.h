#pragma once

#include <cstdint>

#include "common/window_rect.h"
#include "platform/window_host.h"

namespace qm71 {

// How the image window's client area follows the display scale:
// SCALE 0..3 is x0.25, x0.5, x1, x2 of the 3072 x 2056 picture.
// Largest client area for a scale:
constexpr int MaxClientWidth(int scale) {
    return 768 << scale;
}
constexpr int MaxClientHeight(int scale) {
    return 514 << scale;
}

// Size of the whole window that ResizeForScale asks for.
constexpr int NominalWidth(int scale) {
    return 768 << scale;
}
constexpr int NominalHeight(int scale) {
    return 514 << scale;
}

// Part of the picture shown in a client area of the given size.
constexpr int SourceExtent(int clientExtent, int scale) {
    return scale == 3 ? clientExtent >> 1 : clientExtent << (2 - scale);
}

struct Fit {
    Rect client;  // client area after clamping (left and top 0)
    Rect window;  // window rectangle after clamping
    int sourceWidth;
    int sourceHeight;
    bool changed;  // the window must be moved to `window`
};

// Clamps the client area to the scale's largest; the window shrinks toward its
// top-left corner. At x2 the client area is made even so every picture pixel
// covers whole screen pixels.
Fit FitToScale(int scale, const Rect& client, const Rect& window);

// The window rectangle that gives the scale's nominal size, kept inside the
// right and bottom screen edges when it fits, else covering the screen from 0.
Rect ResizeForScale(int scale, const Rect& window, int screenWidth, int screenHeight);

}  // namespace qm71
