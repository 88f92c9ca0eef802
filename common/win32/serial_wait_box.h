#pragma once

#include <windows.h>

#include <chrono>
#include <string>

#include "platform/serial_wait_box.h"

namespace qm71::win32 {

// The serial wait box of a Win32 program (see SerialWaitBoxBase): a small
// modal window with "Abbrechen", which Escape and its close box press too.
class SerialWaitBox final : public SerialWaitBoxBase {
  public:
    // `caption` is the program's name; `text` says what is awaited, "%1" is
    // replaced by the port's name.
    SerialWaitBox(std::string caption, std::string text,
                  std::chrono::milliseconds showAfter = std::chrono::seconds(1));
    ~SerialWaitBox() override;
    SerialWaitBox(const SerialWaitBox&) = delete;
    SerialWaitBox& operator=(const SerialWaitBox&) = delete;

    // The box while it is shown.
    HWND Box() const { return box_; }

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM w, LPARAM l);
    bool ShowBox(const std::string& port) override;
    void HideBox() override;
    void HandleEvents(bool all) override;

    std::string caption_;
    std::string text_;
    HWND box_ = nullptr;
    HWND owner_ = nullptr;
    HFONT font_ = nullptr;
    HCURSOR cursor_ = nullptr;  // the one the box replaced
};

}  // namespace qm71::win32
