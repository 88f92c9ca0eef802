#pragma once

#include <QDialog>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

#include "resources/qm/control_panel_ids.h"
#include "viewer/core/control_panel.h"

namespace Ui {
class ControlPanelForm;
}

namespace qm71 {

// The viewer's control panel's widgets over ControlPanel.
class ControlPanelDialog : public QDialog {
    Q_OBJECT

  public:
    using enum qm::ControlPanelId;

    explicit ControlPanelDialog(ControlPanelHost& host, QWidget* parent = nullptr);
    ~ControlPanelDialog() override;

  public slots:
    void accept() override;  // Enter: 1
    void reject() override;  // Escape: 2

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    ControlPanel model_;
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
