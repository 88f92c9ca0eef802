#pragma once

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

}  // namespace qm71
