#pragma once

#include "common/win32/dib_window.h"
#include "common/win32/idle_loop.h"
#include "platform/clock.h"
#include "platform/operator.h"
#include "platform/serial_line.h"
#include "sample/parts/sample_parts.h"

namespace qm71::win32 {

// QM71SAMPLE with its Win32 windows: the parts beneath them, the main window
// with the menu "QM71", the dialogs and the message loop.
class SampleProgram final : public SampleScreens {
  public:
    // Chooses the card service and installs it in the library. `line` is
    // the camera's serial port, COM2.
    SampleProgram(Operator& op, Clock& clock, SerialLine& line);
    ~SampleProgram() override;

    // Creates and shows the main window, then resets the card, loads the
    // tables and sets up the camera. False when the window cannot be made.
    bool Start();
    // The message loop, until the main window is gone; the exit code.
    int Run() { return loop_.Run(); }

    sample::SampleApp& App() { return parts_.App(); }
    DibWindow& Window() { return window_; }

    // SampleScreens
    WindowHost* CreateMainWindow(const Rect& placement) override;
    void ShowMainWindow(const Rect& placement) override { window_.ShowAt(placement); }
    void SetCaption(const std::string& caption) override;
    void HandleEvents() override;
    void RunSizeDialog(sample::SampleState& state) override;
    void RunAboutBox() override;

  private:
    Operator& op_;
    SampleParts parts_;
    DibWindow window_;
    IdleLoop loop_;
};

}  // namespace qm71::win32
