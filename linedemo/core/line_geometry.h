#pragma once

#include <cstddef>

#include "platform/window_host.h"

namespace qm71 {

// The line image: 640 lines of 5000 pixels, one byte each.
inline constexpr int kLineWidth = 5000;  // ZEILE
inline constexpr int kLineCount = 640;   // SPALTE
inline constexpr int kLineScales = 6;    // SCALE 0..5: 1:8, 1:4, 1:2, 1:1, 2:1, 4:1

// Where line k of an acquisition goes in the image block: the block is a
// bottom-up bitmap, so the first line acquired is the bottom row of the
// picture and the newest its top.
constexpr std::size_t LineOffset(int line) {
    return static_cast<std::size_t>(line) * kLineWidth;
}

// A SCALE the window can show; anything else is taken as 1:8.
constexpr int ValidLineScale(int scale) {
    return scale >= 0 && scale < kLineScales ? scale : 0;
}

// The whole image at a scale: one image pixel covers 2^scale / 8 screen pixels.
constexpr int LineImageWidth(int scale) {
    return (kLineWidth / 8) << scale;
}
constexpr int LineImageHeight(int scale) {
    return (kLineCount / 8) << scale;
}

// The window rectangle for the whole image at `scale`, kept on the screen:
// where the image is larger than the screen, the screen's width or height
// from 0.
Rect LineResizeForScale(int scale, const Rect& window, int screenWidth, int screenHeight);

struct LineFit {
    Rect window;  // where the window belongs
    Rect client;  // its client area then (left and top 0)
    // The part of the image, from its top-left corner as shown, that fills
    // the client area.
    int sourceWidth = 0;
    int sourceHeight = 0;
};

// Where a window with this rectangle and client area settles: a window larger
// than the screen is cut to it, the window is moved onto the screen, and the
// client area is brought down to whole image pixels at the scale, but never
// beyond the whole image (an image narrower than the client area by less than
// one image pixel is stretched over it). The result is final: fitting it again
// changes nothing. The frame around the client area is taken to stay as it is.
LineFit LineFitToScale(int scale, const Rect& window, const Rect& client, int screenWidth,
                       int screenHeight);

}  // namespace qm71
