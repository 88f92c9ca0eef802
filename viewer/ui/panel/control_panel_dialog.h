#pragma once

#include <QDialog>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

#include "resources/qm/control_panel_ids.h"
#include "viewer/ui/panel/control_panel_host.h"

namespace Ui {
class ControlPanelForm;
}

namespace qm71 {

// The viewer's control panel (template 137). The colouring, scale, options and
// end buttons close it with their own id, which the main window then acts on;
// the camera settings, trigger and Save BMP buttons act while it stays open.
// Enter closes it with 1 and Escape with 2; the main window ignores both.
class ControlPanelDialog : public QDialog {
    Q_OBJECT

  public:
    using enum qm::ControlPanelId;
    static constexpr int kTemplateId = 137;
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;

    explicit ControlPanelDialog(ControlPanelHost& host, QWidget* parent = nullptr);
    ~ControlPanelDialog() override;

  public slots:
    void accept() override;  // Enter: 1
    void reject() override;  // Escape: 2

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void RunCameraSettings();

    ControlPanelHost& host_;
    std::unique_ptr<Ui::ControlPanelForm> ui_;
};

// The save dialog of Save BMP: asks for a file name, "*.bmp" to start with,
// and for confirmation before an existing file is replaced. A name typed
// without extension gets ".bmp". Nothing when the user cancels.
std::optional<std::filesystem::path> AskBitmapFileName(QWidget* parent);

// A string-table filter in the form "description|pattern|...|pattern||"
// (several patterns separated by ';') as the file dialog's name filters, each
// "description (patterns)".
QStringList NameFiltersOf(std::string_view filter);

}  // namespace qm71
