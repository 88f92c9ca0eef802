#pragma once

#include <QDialog>
#include <memory>

#include "resources/qmdemo/control_panel_ids.h"

namespace Ui {
class LineControlPanelForm;
}

namespace qm71 {

// What the line demo's control panel shows when it opens.
struct LinePanelState {
    int lut = 0;    // 0..2 presses "&S/W", "&Invers" or "Sch&welle"; other values none
    int scale = 0;  // 0..5 presses "1:&8" … "4:1"; other values none
    bool trigger = false;
    int width = 0;  // image size, shown as "width*height"
    int height = 0;
};

// The line demo's control panel (template 137): a one-click chooser. Every
// button closes it with its own id, which the main window then carries out;
// "SW-Trigger" closes it with 32813 and leaves its check mark as it was (the
// main window toggles the mode). Enter is OK (1), Escape closes with 2.
class LineControlPanelDialog : public QDialog {
    Q_OBJECT

  public:
    using enum qmdemo::LineControlPanelId;
    static constexpr int kTemplateId = 137;
    static constexpr int kResultCancel = 2;

    explicit LineControlPanelDialog(const LinePanelState& state, QWidget* parent = nullptr);
    ~LineControlPanelDialog() override;

  public slots:
    void reject() override;  // Escape: 2

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    std::unique_ptr<Ui::LineControlPanelForm> ui_;
};

}  // namespace qm71
