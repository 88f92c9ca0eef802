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

// One axis of the client fit. Step by step, the window's far edge comes in
// until the client extent is a whole number of image pixels at the scale, or,
// when it would show more than the image, until it shows the image with less
// than one image pixel to spare; the source is then the whole image.
AxisFit FitClientAxis(int client, int scale, int image) {
    const std::int64_t c = std::max(client, 0);
    const std::int64_t unit = std::int64_t{1} << scale;  // screen pixels per 8 image pixels
    const std::int64_t source = (c * 8) >> scale;
    if (source > image) {
        const std::int64_t whole = std::int64_t{image / 8} << scale;
        return {static_cast<int>(whole + c % unit), image};
    }
    const std::int64_t fitted = c - c % unit;
    return {static_cast<int>(fitted), static_cast<int>((fitted * 8) >> scale)};
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
        return static_cast<int>(std::clamp<std::int64_t>(outer - frame, 0, INT32_MAX));
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
