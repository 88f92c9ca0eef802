#pragma once

#include <QDialog>
#include <QString>
#include <memory>
#include <span>

#include "platform/operator.h"
#include "viewer/camera/camera_port.h"
#include "viewer/camera/camera_settings.h"

namespace Ui {
class CameraSettingsForm;
}

namespace qm71 {

// The camera settings dialog (template 133). It holds the camera link while it
// is shown: it opens the port and reads every setting when it starts, writes
// them back on OK or Save, and closes the port however it ends. What is read
// and sent in which order is the camera port's business; the dialog shows the
// values and collects them again.
//
// Results: 1 OK (mode not Trigger, or no port), 2 Cancel / Escape / close box /
// OK with mode Trigger / port not opened / camera lost (silent, or the wait
// given up), 3 Reset, 4 Save.
class CameraSettingsDialog : public QDialog {
    Q_OBJECT

  public:
    enum Result { ResultOk = 1, ResultCancel = 2, ResultReset = 3, ResultSave = 4 };

    CameraSettingsDialog(CameraPort& port, Operator& op, QWidget* parent = nullptr);
    ~CameraSettingsDialog() override;

    // Initialises from the camera and runs the dialog modally. When the port
    // cannot be opened it returns 2 without showing the dialog.
    int exec() override;

    // Opens the port and fills the controls from the camera. When the port
    // cannot be opened or the camera is lost it ends the dialog with 2 and
    // returns false.
    bool InitialiseFromCamera();

  public slots:
    void accept() override;  // OK and Enter: send all settings
    void reject() override;  // Cancel, Escape, close box: 2, nothing sent
    void done(int result) override;
    void Save();   // all settings, then the camera stores them: 4
    void Reset();  // the camera's reset only: 3

  private:
    void Show(const CameraSettings& settings);
    CameraSettings Collect() const;
    void Select(std::span<const int> group, int selector);
    int SelectedSelector(std::span<const int> group) const;
    void SetEditValue(int id, int value);
    int EditValue(int id) const;

    std::unique_ptr<Ui::CameraSettingsForm> ui_;
    CameraPort& port_;
    Operator& op_;
    QString templateTitle_;
};

}  // namespace qm71
