#include "linedemo/core/line_geometry.h"

#include <algorithm>
#include <cstdint>

#include "common/window_rect.h"

namespace qm71 {

namespace {

struct AxisFit {
    int client;
    int source;
};

// One axis of the client fit, where the step-by-step fitting ends. Each step
// computes the source extent (client * 8) >> scale. While it exceeds the image,
// the far edge comes in by whole steps of 8 image pixels, which leaves the
// image's extent plus the client's remainder modulo 2^scale; when that still
// shows more than the image, the step is 0 and the image is stretched over it.
// Otherwise the client is brought down to a multiple of 2^scale (the whole
// image's extent, when the last step landed on a source of exactly the image).
AxisFit FitClientAxis(int client, int scale, int image) {
    const std::int64_t c = std::max(client, 0);
    const std::int64_t unit = std::int64_t{1} << scale;
    const auto source = [scale](std::int64_t extent) { return (extent * 8) >> scale; };
    if (source(c) > image) {
        const std::int64_t whole = std::int64_t{image / 8} << scale;
        const std::int64_t cut = whole + c % unit;
        return {static_cast<int>(source(cut) > image ? cut : whole), image};
    }
    const std::int64_t fitted = c - c % unit;
    return {static_cast<int>(fitted), static_cast<int>(source(fitted))};
}

// One axis of the screen check: cut to the screen when larger, then moved
// inside it.
void KeepOnScreen(int& low, int& high, int screen) {
    if (std::int64_t{high} - low > screen) {
        low = 0;
        high = screen;
    } else if (low < 0) {
        high -= low;
        low = 0;
    } else if (high > screen) {
        low -= high - screen;
        high = screen;
    }
}

}  // namespace

Rect LineResizeForScale(int scale, const Rect& window, int screenWidth, int screenHeight) {
    scale = ValidLineScale(scale);
    return SizeOnScreen(window, LineImageWidth(scale), LineImageHeight(scale), screenWidth,
                        screenHeight);
}

LineFit LineFitToScale(int scale, const Rect& window, const Rect& client, int screenWidth,
                       int screenHeight) {
    scale = ValidLineScale(scale);
    // The frame and caption around the client area.
    const std::int64_t frameW = std::int64_t{window.Width()} - client.Width();
    const std::int64_t frameH = std::int64_t{window.Height()} - client.Height();

    LineFit f;
    f.window = RectAt(window.left, window.top, window.Width(), window.Height());
    KeepOnScreen(f.window.left, f.window.right, screenWidth);
    KeepOnScreen(f.window.top, f.window.bottom, screenHeight);

    const auto clientOf = [](std::int64_t outer, std::int64_t frame) {
        return std::max(Held(outer - frame), 0);
    };
    const AxisFit w = FitClientAxis(clientOf(f.window.Width(), frameW), scale, kLineWidth);
    const AxisFit h = FitClientAxis(clientOf(f.window.Height(), frameH), scale, kLineCount);
    f.window.right = static_cast<int>(f.window.left + frameW + w.client);
    f.window.bottom = static_cast<int>(f.window.top + frameH + h.client);
    f.client = {0, 0, w.client, h.client};
    f.sourceWidth = w.source;
    f.sourceHeight = h.source;
    return f;
}

}  // namespace qm71
