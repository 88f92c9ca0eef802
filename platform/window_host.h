#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

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

// What a window's client area shows: a part of a packed bitmap (info header,
// colour table at 8 bits, pixels) stretched over a rectangle of the client
// area, black around it, and a line of text over it.
struct Drawing {
    std::span<const std::byte> picture{};  // empty: the client area is black
    Rect source{};                         // picture pixels from its top-left corner as seen
    Rect destination{};                    // client pixels
    std::string text{};                    // black on white; empty: none
    Point textAt{};                        // client position of the text's top-left corner

    // The same part of the same picture in the same place.
    bool SamePlace(const Drawing& other) const {
        return picture.data() == other.picture.data() && picture.size() == other.picture.size() &&
               source == other.source && destination == other.destination;
    }
};

// What the program logic asks of its main window. The front end implements it
// and reports what happens to the window through WindowEvents.
class WindowHost {
  public:
    virtual ~WindowHost() = default;
    // Moves and sizes the whole window (frame and caption included), screen coordinates.
    virtual void MoveWindow(const Rect& window) = 0;
    // From now on the window shows `drawing` whenever the window system asks
    // for a paint; the whole client area needs painting again.
    virtual void Invalidate(const Drawing& drawing) = 0;
    // Paints `drawing` now, before returning (a frame has just arrived); from
    // then on paints show it without its text, until the next Invalidate or
    // DrawNow. Nothing is left to paint again afterwards.
    virtual void DrawNow(const Drawing& drawing) = 0;
    // Makes the program's other top-level windows paint themselves again.
    virtual void RedrawOtherWindows() = 0;
};

// What a window logic told its host to show, so that a new place of the
// picture is handed on once and a move that changes nothing repaints nothing.
class ShownDrawing {
  public:
    // `drawing` from now on, when it is another place of the picture, or
    // `always` (its colours changed).
    void Update(WindowHost* host, const Drawing& drawing, bool always = false) {
        if (!always && drawing.SamePlace(last_)) return;
        last_ = drawing;
        if (host) host->Invalidate(drawing);
    }
    // `drawing` painted at once; later paints show it without its text.
    void DrawNow(WindowHost* host, const Drawing& drawing) {
        last_ = drawing;
        last_.text.clear();
        if (host) host->DrawNow(drawing);
    }

  private:
    Drawing last_;
};

// What the front end of a main window reports to the window's logic. Keys are
// virtual keys with the modifiers held (platform/accelerator.h). The logic
// answers with a command it leaves to the front end (a dialog to open), or 0.
class WindowEvents {
  public:
    virtual ~WindowEvents() = default;
    // The client area and the whole window after a move or a size change.
    virtual void OnSize(const Rect& client, const Rect& window) = 0;
    virtual int OnKeyDown(std::uint16_t key, std::uint8_t modifiers) = 0;
    virtual void OnKeyUp(std::uint16_t key) = 0;
    // Mouse positions in screen coordinates.
    virtual void OnLButtonDown(Point screen) = 0;
    virtual void OnMouseMove(Point screen, bool leftHeld) = 0;
    // Any mouse button was released over the window.
    virtual void OnButtonUp() = 0;
    virtual int OnRButtonDown() = 0;
    // The window got the keyboard focus; `modifiers` are those held just then.
    virtual void OnSetFocus(std::uint8_t modifiers) = 0;
    virtual void OnKillFocus() = 0;
    // A modal dialog over the window opened or closed.
    virtual void OnModal(bool open) = 0;
};

}  // namespace qm71
