#pragma once

#include "common/win32/dialog.h"
#include "viewer/camera/camera_settings_model.h"

namespace qm71::win32 {

// The camera settings dialog (template 133) over CameraSettingsModel. It
// reads the camera before it shows itself, and ends at once, unseen, when
// the port cannot be opened.
class CameraSettingsDialog final : public ModalDialog {
  public:
    static constexpr int kTemplate = 133;

    CameraSettingsDialog(CameraPort& port, Operator& op) : model_(port, op) {}
    // Owned by the active window (the control panel), as no owner is given.
    int Run() { return ModalDialog::Run(kTemplate); }

  private:
    void OnInit() override;
    void OnCommand(int id, int code) override;
    void Show();
    CameraSettingsModel::Controls Read() const;

    CameraSettingsModel model_;
};

}  // namespace qm71::win32
