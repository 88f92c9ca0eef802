#pragma once

#include <cstdint>

#include "platform/window_host.h"

namespace qm71 {

// Window rectangles come from the settings files and the window system and may
// lie anywhere in int. Their arithmetic is done wide and held to int, and a
// rectangle that would pass the end of int is moved back rather than cut, so
// that its size (written back as B and H) stays what it was.

// `v` held to the range of int.
int Held(std::int64_t v);

// A rectangle of the given size at (left, top).
Rect RectAt(int left, int top, int width, int height);
// `r` moved by (dx, dy).
Rect Offset(const Rect& r, std::int64_t dx, std::int64_t dy);

// The window rectangle that gives the whole picture its size `width` x
// `height`: kept inside the right and bottom screen edges when it fits, else
// covering the screen from 0 on that axis.
Rect SizeOnScreen(const Rect& window, int width, int height, int screenWidth, int screenHeight);

}  // namespace qm71
