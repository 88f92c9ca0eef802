#pragma once

#include <windows.h>

#include <chrono>
#include <string>

#include "platform/serial_line.h"

namespace qm71::win32 {

// Keeps a Win32 program alive while a serial line waits on its one thread.
// Each time the line asks, the pending messages are handled, so windows
// repaint; input is held back until the box is up, so that nothing re-enters
// the dialog that waits. After `showAfter` a small modal box says what the
// program waits for; "Abbrechen" (or Escape, or its close box) ends the wait.
class SerialWaitBox final : public SerialWaitWatcher {
  public:
    // `text` says what is awaited; "%1" is replaced by the port's name.
    // `caption` is the box's, the program's name.
    SerialWaitBox(std::string caption, std::string text,
                  std::chrono::milliseconds showAfter = std::chrono::seconds(1));
    ~SerialWaitBox() override;
    SerialWaitBox(const SerialWaitBox&) = delete;
    SerialWaitBox& operator=(const SerialWaitBox&) = delete;

    bool KeepWaiting(const std::string& port, std::chrono::milliseconds waited) override;
    void WaitEnded() override;

    // Ends the wait under way at once, as Abbrechen does.
    void Cancel();
    // The box while it is shown.
    HWND Box() const { return box_; }

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
    void ShowBox(const std::string& port);
    void HideBox();

    std::string caption_;
    std::string text_;
    std::chrono::milliseconds showAfter_;
    HWND box_ = nullptr;
    HWND owner_ = nullptr;
    HFONT font_ = nullptr;
    HCURSOR cursor_ = nullptr;  // the one the box replaced
    bool waiting_ = false;
    bool cancelled_ = false;
};

}  // namespace qm71::win32
