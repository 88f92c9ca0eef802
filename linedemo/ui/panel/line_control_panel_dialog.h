#pragma once

#include <QDialog>
#include <memory>

#include "linedemo/core/line_control_panel.h"
#include "resources/qmdemo/control_panel_ids.h"

namespace Ui {
class LineControlPanelForm;
}

namespace qm71 {

// The line demo's control panel's widgets over LineControlPanel.
class LineControlPanelDialog : public QDialog {
    Q_OBJECT

  public:
    using enum qmdemo::LineControlPanelId;

    explicit LineControlPanelDialog(const LinePanelState& state, QWidget* parent = nullptr);
    ~LineControlPanelDialog() override;

  public slots:
    void reject() override;  // Escape

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    LineControlPanel model_;
    std::unique_ptr<Ui::LineControlPanelForm> ui_;
};

}  // namespace qm71
