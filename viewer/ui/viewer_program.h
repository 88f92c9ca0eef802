#pragma once

#include <memory>

#include "common/driver.h"
#include "common/ui/idle_loop.h"
#include "platform/clock.h"
#include "platform/operator.h"
#include "platform/posix/posix_serial_line.h"
#include "platform/profile_store.h"
#include "platform/qt/serial_wait_box.h"
#include "viewer/camera/camera_port.h"
#include "viewer/core/control_panel.h"
#include "viewer/core/viewer_app.h"
#include "viewer/ui/image_window_widget.h"

namespace qm71 {

class DriverChannel;

// Everything the viewer consists of, put together in its start-up order:
// settings file, card, image, window, frame loop.
class ViewerProgram final : public ControlPanelHost {
  public:
    // Reads the environment (QM71_CONFIG_DIR, QM71_DEVICE, QM71_SIM), opens the
    // settings file and the card and allocates the image.
    ViewerProgram(Operator& op, Clock& clock);
    ~ViewerProgram() override;

    // Creates and shows the main window and starts the frame loop. False when
    // the program cannot run (the reason has been shown).
    bool Start();

    ViewerApp& App() { return app_; }
    ImageWindowWidget* Window() { return widget_.get(); }
    // Frames drawn by the frame loop since the start.
    long long FramesDrawn() const { return idle_.Drawn(); }
    // The frame loop is being called (not paused: frozen, no card, a modal dialog).
    bool IdleRunning() const { return idle_.Running(); }

    // Commands the window leaves to the program (dialogs, live mode).
    void Command(int id);
    // Ends the program as its own "end" command does.
    void End();

    // ControlPanelHost
    int Lut() const override;
    int Scale() const override;
    int DownloadAttempts() const override;
    int RunCameraSettings() override;
    void SoftwareTrigger() override;
    void SaveBitmap() override;

  private:
    void RunControlPanel();
    void Shutdown();

    Operator& op_;
    std::unique_ptr<ProfileStore> store_;
    std::unique_ptr<DriverChannel> channel_;
    Driver driver_;
    ViewerApp app_;
    PosixSerialLine serial_;
    SerialWaitBox cameraWait_;
    CameraPort camera_;
    std::unique_ptr<ImageWindowWidget> widget_;
    IdleLoop idle_;
};

}  // namespace qm71
