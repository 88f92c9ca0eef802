#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "common/colours_host.h"
#include "common/driver.h"
#include "platform/clock.h"
#include "platform/operator.h"
#include "platform/profile_store.h"
#include "platform/serial_line.h"
#include "viewer/camera/camera_port.h"
#include "viewer/core/control_panel.h"
#include "viewer/core/viewer_app.h"

namespace qm71 {

class DriverChannel;

// What only a front end can do for the viewer: run its dialogs and end it.
class ViewerScreens {
  public:
    virtual ~ViewerScreens() = default;
    // Each runs its dialog modally and returns what it ended with.
    virtual int RunControlPanel(ControlPanelHost& host) = 0;
    virtual void RunColours(ColoursHost& host) = 0;
    virtual void RunInfo() = 0;
    virtual int RunCameraSettings(CameraPort& camera) = 0;
    // The file the user chose to save the frame in; nothing when cancelled.
    virtual std::optional<std::filesystem::path> AskBitmapFileName() = 0;
    // Closes the windows and ends the program; settings are written by then.
    virtual void End() = 0;
};

// The viewer beneath its windows, put together in its start-up order:
// settings file, card, image and window logic, camera link. Front ends own
// it beside their windows, dialogs, idle loop and serial wait box, and hand
// it the commands the main window leaves to the program.
class ViewerParts final : public ControlPanelHost, public ColoursHost {
  public:
    // Reads the environment (QM71_CONFIG_DIR, QM71_DEVICE, QM71_SIM), opens the
    // settings file and the card and allocates the image. `line` is the
    // platform's serial port; `cameraWait` hears its long waits.
    ViewerParts(Operator& op, Clock& clock, ViewerScreens& screens, SerialLine& line,
                SerialWaitWatcher* cameraWait);

    ViewerApp& App() { return app_; }
    // Empty when the image could not be allocated: the program cannot run.
    ImageWindow* Logic() { return app_.MainWindow(); }

    // The window logic's commands that open dialogs or end the program.
    void Command(int id);
    // The main window goes away: settings written, card closed (once).
    void Shutdown(const Rect& window);

    // ControlPanelHost
    int Lut() const override;
    int Scale() const override;
    int DownloadAttempts() const override;
    int RunCameraSettings() override;
    void SoftwareTrigger() override;
    void SaveBitmap() override;

    // ColoursHost
    ColouringSettings& Colouring() override;
    void BuildColorTable() override;
    const std::array<PaletteEntry, 256>& DisplayPalette() const override;

  private:
    Operator& op_;
    ViewerScreens& screens_;
    std::unique_ptr<ProfileStore> store_;
    std::unique_ptr<DriverChannel> channel_;
    Driver driver_;
    ViewerApp app_;
    CameraPort camera_;
};

}  // namespace qm71
