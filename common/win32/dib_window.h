#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/window_host.h"

namespace qm71::win32 {

// A program's main window on the Win32 screen: a bare window that paints what
// its window logic tells it and reports size, mouse, keys, focus and modal
// dialogs to that logic. Keys go to the logic as virtual keys with their
// modifiers; its accelerator table decides. Commands the logic leaves, and
// those of the window's menu, go to `command`; `ending` hears the window go, or the session end,
// while its rectangle is still known; when the window goes the message loop ends.
class DibWindow final : public WindowHost {
  public:
    struct Handlers {
        std::function<void(int)> command;
        std::function<void()> ending;
    };
    // How the window is made: caption, window style, class icon resource,
    // menu resource (none when null).
    struct Look {
        std::string caption;
        DWORD style = 0;
        int icon = 0;
        const wchar_t* menu = nullptr;
    };

    DibWindow(WindowEvents& logic, Handlers handlers);
    ~DibWindow() override;
    DibWindow(const DibWindow&) = delete;
    DibWindow& operator=(const DibWindow&) = delete;

    // Creates the window at `window` (screen coordinates, frame included).
    // `created` runs while it is being created, before its first size is
    // reported. False when the window system refused.
    bool Create(const Look& look, const Rect& window, const std::function<void()>& created);
    // Moves it to `window` again, shows it and gives it the keyboard focus.
    void ShowAt(const Rect& window);
    // Ends the window (and with it the message loop).
    void Destroy();

    HWND Handle() const { return hwnd_; }
    Rect FrameRect() const;

    // WindowHost
    void MoveWindow(const Rect& window) override;
    void Invalidate(const Drawing& drawing) override;
    void DrawNow(const Drawing& drawing) override;
    void RedrawOtherWindows() override;

    // Draws `drawing` into `dc` over a client area of `client`: the picture
    // through the DIB renderer into a 32-bit buffer that SetDIBitsToDevice
    // copies, black around it, the text over it. `buffer` is kept between
    // calls so that a frame costs no allocation.
    static void Paint(HDC dc, const Rect& client, const Drawing& drawing,
                      std::vector<std::uint32_t>& buffer);

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
    LRESULT OnMessage(UINT message, WPARAM w, LPARAM l);
    void ReportSize();
    void PaintOn(HDC dc, const Drawing& drawing);
    void Done(int command = 0);

    WindowEvents& logic_;
    Handlers handlers_;
    std::function<void()> created_;
    HWND hwnd_ = nullptr;
    Drawing shown_;
    std::vector<std::uint32_t> buffer_;
};

// The modifiers held now, as the accelerator tables name them.
std::uint8_t HeldModifiers();

}  // namespace qm71::win32
