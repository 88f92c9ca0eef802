#pragma once

#include <memory>

#include "common/ui/idle_loop.h"
#include "platform/clock.h"
#include "platform/operator.h"
#include "platform/posix/posix_serial_line.h"
#include "platform/qt/serial_wait_box.h"
#include "viewer/parts/viewer_parts.h"
#include "viewer/ui/image_window_widget.h"

namespace qm71 {

// The viewer with its Qt windows: the parts beneath them, the main window,
// the dialogs and the frame loop.
class ViewerProgram final : public ViewerScreens {
  public:
    // Reads the environment (QM71_CONFIG_DIR, QM71_DEVICE, QM71_SIM), opens the
    // settings file and the card and allocates the image.
    ViewerProgram(Operator& op, Clock& clock);
    ~ViewerProgram() override;

    // Creates and shows the main window and starts the frame loop. False when
    // the program cannot run (the reason has been shown).
    bool Start();

    ViewerApp& App() { return parts_.App(); }
    ImageWindowWidget* Window() { return widget_.get(); }
    // Frames drawn by the frame loop since the start.
    long long FramesDrawn() const { return idle_.Drawn(); }
    // The frame loop is being called (not paused: frozen, no card, a modal dialog).
    bool IdleRunning() const { return idle_.Running(); }

    // Commands the window leaves to the program (dialogs, live mode).
    void Command(int id);

    // ViewerScreens
    int RunControlPanel(ControlPanelHost& host) override;
    void RunColours(ColoursHost& host) override;
    void RunInfo() override;
    int RunCameraSettings(CameraPort& camera) override;
    std::optional<std::filesystem::path> AskBitmapFileName() override;
    // Ends the program as its own "end" command does.
    void End() override;

  private:
    void Shutdown();

    Operator& op_;
    SerialWaitBox cameraWait_;
    PosixSerialLine serial_;
    ViewerParts parts_;
    std::unique_ptr<ImageWindowWidget> widget_;
    IdleLoop idle_;
};

}  // namespace qm71
