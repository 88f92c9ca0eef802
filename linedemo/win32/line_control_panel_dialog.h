#pragma once

#include "common/win32/dialog.h"
#include "linedemo/core/line_control_panel.h"
#include "resources/qmdemo/control_panel_ids.h"

namespace qm71::win32 {

// The line demo's control panel (template 137) over LineControlPanel.
class LineControlPanelDialog final : public ButtonDialog {
  public:
    static constexpr int kTemplate = 137;
    using enum qmdemo::LineControlPanelId;

    explicit LineControlPanelDialog(const LinePanelState& state) : model_(state) {}
    int Run(HWND owner) { return ModalDialog::Run(kTemplate, owner); }

  private:
    std::optional<int> Press(int id) override { return model_.Press(id); }
    void Show() override;

    LineControlPanel model_;
};

}  // namespace qm71::win32
