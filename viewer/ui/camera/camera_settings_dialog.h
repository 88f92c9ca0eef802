#pragma once

#include <QDialog>
#include <memory>

#include "viewer/camera/camera_settings_model.h"

namespace Ui {
class CameraSettingsForm;
}

namespace qm71 {

// The camera settings dialog's widgets over CameraSettingsModel.
class CameraSettingsDialog : public QDialog {
    Q_OBJECT

  public:
    CameraSettingsDialog(CameraPort& port, Operator& op, QWidget* parent = nullptr);
    ~CameraSettingsDialog() override;

    // Opens the model and runs the dialog modally; when the model ends it at
    // once, its result without showing the dialog.
    int exec() override;

  public slots:
    void accept() override;  // OK and Enter
    void reject() override;  // Cancel, Escape, close box

  private:
    void Show();
    CameraSettingsModel::Controls Read() const;

    CameraSettingsModel model_;
    std::unique_ptr<Ui::CameraSettingsForm> ui_;
};

}  // namespace qm71
