#pragma once

namespace qm71 {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle as the window system gives it: right and bottom are exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// What the program logic asks of its main window. The front end implements it
// and reports size changes back to the logic.
class WindowHost {
  public:
    virtual ~WindowHost() = default;
    // Moves and sizes the whole window (frame and caption included), screen coordinates.
    virtual void MoveWindow(const Rect& window) = 0;
    // The whole client area needs painting again (lookup or geometry changed).
    virtual void Invalidate() = 0;
    // Paints the client area now, before returning (a frame has just arrived).
    virtual void DrawNow() = 0;
    // Makes the program's other top-level windows paint themselves again.
    virtual void RedrawOtherWindows() = 0;
};

}  // namespace qm71
