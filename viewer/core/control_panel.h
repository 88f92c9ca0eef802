#pragma once

#include <optional>
#include <string>

namespace qm71 {

// What the control panel needs from the window that opens it: the settings it
// shows and the three actions it carries out while it stays open.
class ControlPanelHost {
  public:
    virtual ~ControlPanelHost() = default;
    virtual int Lut() const = 0;
    virtual int Scale() const = 0;
    virtual int DownloadAttempts() const = 0;
    // Runs the camera settings dialog; returns its result 1..4.
    virtual int RunCameraSettings() = 0;
    // Triggers the card, reads the frame into the image and repaints.
    virtual void SoftwareTrigger() = 0;
    // Asks for a file name and saves the shown frame there.
    virtual void SaveBitmap() = 0;
};

// The viewer's control panel (template 137) without its widgets. The
// colouring, scale, options and end buttons close it with their own id, which
// the main window then acts on, also when the button was already pressed; the
// camera settings, trigger and Save BMP buttons act while it stays open.
// Enter closes it with 1 and Escape with 2; the main window ignores both.
class ControlPanel {
  public:
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;

    // What the controls show: the pressed colouring and scale buttons (0:
    // none) and the download count.
    struct View {
        int colouring = 0;
        int scale = 0;
        std::string downloads;
    };

    explicit ControlPanel(ControlPanelHost& host);

    const View& Shown() const { return view_; }
    // A button, or Enter (1) or Escape (2): the result the panel closes with,
    // nothing when it stays open.
    std::optional<int> Press(int id);

  private:
    ControlPanelHost& host_;
    View view_;
};

}  // namespace qm71
