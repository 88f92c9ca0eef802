#pragma once

#include "common/win32/dib_window.h"
#include "common/win32/idle_loop.h"
#include "linedemo/parts/line_demo_parts.h"
#include "platform/clock.h"
#include "platform/operator.h"

namespace qm71::win32 {

// The line demo with its Win32 windows: the parts beneath them, the main
// window, the dialogs and the message loop with the acquisition in its idle.
class LineDemoProgram final : public LineDemoScreens {
  public:
    // Reads the environment, reads lcam71.ini, allocates the image and opens
    // the card.
    LineDemoProgram(Operator& op, Clock& clock);
    ~LineDemoProgram() override;

    // Creates and shows the main window with the keyboard focus. False only
    // when the window system refused the window (the reason has been
    // shown): without a card or an image the window still works.
    bool Start();
    // The message loop, until the main window is gone; the exit code.
    int Run() { return idle_.Run(); }

    LineDemoApp& App() { return parts_.App(); }
    DibWindow& Window() { return window_; }

    // LineDemoScreens
    int RunControlPanel(const LinePanelState& state) override;
    void RunColours(ColoursHost& host) override;
    void RunInfo() override;
    void End() override { window_.Destroy(); }

  private:
    void Shutdown();

    Operator& op_;
    LineDemoParts parts_;
    DibWindow window_;
    IdleLoop idle_;
};

}  // namespace qm71::win32
