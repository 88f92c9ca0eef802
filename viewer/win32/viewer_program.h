#pragma once

#include "common/win32/dib_window.h"
#include "common/win32/idle_loop.h"
#include "common/win32/serial_wait_box.h"
#include "platform/clock.h"
#include "platform/operator.h"
#include "platform/serial_line.h"
#include "viewer/parts/viewer_parts.h"

namespace qm71::win32 {

// The viewer with its Win32 windows: the parts beneath them, the main
// window, the dialogs and the message loop with the frame loop in its idle.
class ViewerProgram final : public ViewerScreens {
  public:
    // Reads the environment, opens the settings file and the card and
    // allocates the image. `line` is the camera's serial port.
    ViewerProgram(Operator& op, Clock& clock, SerialLine& line);
    ~ViewerProgram() override;

    // Creates and shows the main window. False when the program cannot run
    // (the reason has been shown).
    bool Start();
    // The message loop, until the main window is gone; the exit code.
    int Run() { return idle_.Run(); }

    ViewerApp& App() { return parts_.App(); }
    DibWindow& Window() { return window_; }

    // ViewerScreens
    int RunControlPanel(ControlPanelHost& host) override;
    void RunColours(ColoursHost& host) override;
    void RunInfo() override;
    int RunCameraSettings(CameraPort& camera) override;
    std::optional<std::filesystem::path> AskBitmapFileName() override;
    void End() override { window_.Destroy(); }

  private:
    void Shutdown();

    Operator& op_;
    SerialWaitBox cameraWait_;
    ViewerParts parts_;
    DibWindow window_;
    IdleLoop idle_;
};

// The save dialog's answer for `filter` (pairs of description and pattern
// separated by bars, ended by two bars), with the default extension `ext`
// and the first name `initial`; nothing when cancelled.
std::optional<std::filesystem::path> AskSaveFileName(std::string_view filter, const wchar_t* ext,
                                                     const wchar_t* initial);

}  // namespace qm71::win32
